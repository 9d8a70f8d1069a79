# What the CLI test scripts share, sourced by them after setting caso, cli and fonte from their
# arguments (CASE ZELTO_CLI SOURCE_DIR): a temporary folder of their own with its own
# label-table store, removed at the end, and the helpers below.
ex=$fonte/examples
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export ZELTO_TABELAS=$tmp/TAB_VAR.QVT

falha() {
  echo "FALHA: $*" >&2
  exit 1
}

# roda STATUS ARGS...: runs the CLI, keeps stdout and stderr in $tmp/out and $tmp/err, and
# checks the exit status.
roda() {
  local esperado=$1
  shift
  "$cli" "$@" >"$tmp/out" 2>"$tmp/err"
  local status=$?
  [ "$status" -eq "$esperado" ] ||
    falha "zelto-cli $* saiu com $status, esperado $esperado; stderr: $(cat "$tmp/err")"
}

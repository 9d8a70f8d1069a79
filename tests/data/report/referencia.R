# Reference values of the report's model and data items, computed once with R 4.2.2 and kept in
# referencia-r.txt beside this script (Rscript referencia.R > referencia-r.txt). The tests read
# that file; R is not needed to run them.
#
# Levels: t test of the correlation 20 %, F test 5 %, regressors 5 % (both tails), confidence
# of the regressors 80 %, as the significance settings' defaults.
options(digits = 17)
w <- read.delim("../regression/windsor-houses.txt")
b <- read.delim("../../../examples/boston.TXT")
f <- list("1" = identity, "2" = log, "3" = exp, "4" = function(x) x^2, "5" = sqrt,
          "6" = function(x) x^3, "7" = function(x) x^(1/3), "8" = function(x) 1/x,
          "12" = function(x) 1/sqrt(x))
relata <- function(nome, d, termos) {
  X <- sapply(seq_along(termos), function(j) f[[as.character(termos[[j]])]](d[[names(termos)[j]]]))
  R <- as.matrix(d[names(termos)])
  y <- X[, 1]; Z <- X[, -1, drop = FALSE]
  fit <- lm(y ~ Z); s <- summary(fit)
  n <- nrow(X); m <- ncol(X); k <- m - 1; gl <- n - k - 1
  out <- function(chave, valor) cat(nome, ".", chave, " ", format(valor, digits = 17), "\n", sep = "")
  out("n", n); out("k", k)
  ssr <- sum((fitted(fit) - mean(y))^2); sse <- sum(residuals(fit)^2); sst <- sum((y - mean(y))^2)
  r <- sqrt(s$r.squared)
  out("r", r); out("r2", s$r.squared); out("r2a", s$adj.r.squared)
  out("tcor", r * sqrt(gl) / sqrt(1 - r^2)); out("tcritcor", qt(1 - 0.20 / 2, gl))
  out("SSR", ssr); out("SSE", sse); out("SST", sst)
  out("MSR", ssr / k); out("MSE", sse / gl); out("MST", sst / (n - 1))
  F <- s$fstatistic[[1]]
  out("F", F); out("Ft", qf(0.95, k, gl)); out("pF", 100 * pf(F, k, gl, lower.tail = FALSE))
  out("sigma", s$sigma)
  out("tcritreg", qt(1 - 0.20 / 2, gl)); out("tcritbi", qt(1 - 0.05 / 2, gl)); out("tcritun", qt(0.95, gl))
  cf <- s$coefficients
  for (i in 1:k) {
    bi <- cf[i + 1, 1]; se <- cf[i + 1, 2]; t <- cf[i + 1, 3]
    out(paste0("b.", i), bi); out(paste0("se.", i), se)
    out(paste0("min.", i), bi - qt(0.90, gl) * se); out(paste0("max.", i), bi + qt(0.90, gl) * se)
    out(paste0("t.", i), t)
    out(paste0("p2.", i), 200 * pt(-abs(t), gl)); out(paste0("p1.", i), 100 * pt(-abs(t), gl))
  }
  for (j in 1:m) {
    out(paste0("soma.", j), sum(X[, j]))
    for (l in 1:m) {
      out(paste0("prod.", j, ".", l), sum(X[, j] * X[, l]))
      rr <- cor(X[, j], X[, l])
      out(paste0("cor.", j, ".", l), rr)
      if (j != l) out(paste0("tc.", j, ".", l), rr * sqrt(gl) / sqrt(1 - rr^2))
    }
    out(paste0("media.", j), mean(X[, j])); out(paste0("dp.", j), sd(X[, j]))
    out(paste0("cv.", j), abs(sd(X[, j]) * 100 / mean(X[, j])))
    x <- R[, j]
    out(paste0("bmedia.", j), mean(x)); out(paste0("bdp.", j), sd(x))
    out(paste0("bmin.", j), min(x)); out(paste0("bmax.", j), max(x))
    out(paste0("bamp.", j), max(x) - min(x)); out(paste0("bcv.", j), abs(sd(x) * 100 / mean(x)))
  }
}
relata("w1", w, list(price = 2, lotsize = 2, bedrooms = 1, bathrooms = 8, stories = 5, driveway = 1,
                     recreation = 1, fullbase = 1, gasheat = 1, aircon = 1, garage = 1, prefer = 1))
relata("w2", w, list(price = 8, lotsize = 8, bedrooms = 4, bathrooms = 1, stories = 7, aircon = 1))
relata("w3", w, list(price = 5, lotsize = 1, bedrooms = 3, bathrooms = 12, stories = 2, garage = 6))
relata("b1", b, list(medv = 2, crim = 1, chas = 1, nox = 1, rm = 4, dis = 2, ptratio = 1, lstat = 2))

# Durbin-Watson bounds and exact probabilities computed with R alone, for the tests of
# src/engine/regression/LimitesDW: Imhof's integral evaluated by R's integrate (QUADPACK) and
# inverted by uniroot; the eigenvalues of a model's M A M by eigen; a Monte Carlo check of the
# bounds for 546 samples and 11 regressors; and, where it is numerically sound (up to 100
# samples), Pan's method as the package lmtest implements it, at the bounds found by Imhof's
# integral. Run from this folder:
#
#   Rscript durbin-watson.R > durbin-watson-r.txt
#
# Lines: "bound n k level dL dU", "model name x P(d <= x)", "pvalue name dw P(d <= dw)",
# "montecarlo n k level dL dU draws", "pan n k level P(dL-form <= dL) - level
# P(dU-form <= dU) - level".
options(digits = 15)

imhof <- function(c) { # P(sum c_i z_i^2 < 0), z_i independent standard normal
  f <- function(u) {
    cu <- outer(c, u)
    sin(0.5 * colSums(atan(cu))) / (u * exp(0.25 * colSums(log1p(cu^2))))
  }
  s <- 1 / sqrt(sum(c^2))
  v <- integrate(f, 0, 20 * s, rel.tol = 1e-13, abs.tol = 1e-15, subdivisions = 10000L)$value +
       integrate(f, 20 * s, Inf, rel.tol = 1e-13, abs.tol = 1e-15, subdivisions = 10000L)$value
  0.5 - v / pi
}
cdf <- function(nu, x) imhof(nu - x)
quantil <- function(nu, a) uniroot(function(x) cdf(nu, x) - a, range(nu), tol = 1e-13)$root
lambda <- function(n, j) 2 * (1 - cos(pi * j / n))
limites <- function(n, k, a) {
  m <- n - k - 1
  c(quantil(lambda(n, 1:m), a), quantil(lambda(n, (k + 1):(k + m)), a))
}

celulas <- list()
for (n in c(15, 20, 25, 30, 40, 50, 60, 80, 100)) for (k in 1:5) celulas[[length(celulas) + 1]] <- c(n, k)
celulas <- c(celulas, list(c(6, 1), c(10, 2), c(14, 5), c(45, 9), c(200, 8), c(546, 11), c(1000, 20)))
pan <- if (requireNamespace("lmtest", quietly = TRUE)) function(ev, x)
  .Fortran("pan", as.double(c(x, ev)), as.integer(length(ev)), as.double(0), as.integer(100),
           x = double(1), PACKAGE = "lmtest")$x
verificacoes <- character(0)
for (nk in celulas) for (a in c(0.01, 0.025, 0.05)) {
  b <- limites(nk[1], nk[2], a)
  cat("bound", nk[1], nk[2], a, sprintf("%.12f", b), "\n")
  n <- nk[1]; k <- nk[2]; m <- n - k - 1
  if (!is.null(pan) && n <= 100)
    verificacoes <- c(verificacoes, paste("pan", n, k, a,
      sprintf("%.3e", pan(lambda(n, 1:m), b[1]) - a), sprintf("%.3e", pan(lambda(n, (k + 1):(k + m)), b[2]) - a)))
}
cat(verificacoes, sep = "\n"); cat("\n")

# Two models of the Windsor house sales (tests/data/regression/windsor-houses.txt).
d <- read.delim("windsor-houses.txt")
modelos <- list(
  w1 = lm(log(price) ~ log(lotsize) + bedrooms + I(1/bathrooms) + sqrt(stories) + driveway +
            recreation + fullbase + gasheat + aircon + garage + prefer, d),
  w2 = lm(I(1/price) ~ I(1/lotsize) + I(bedrooms^2) + bathrooms + I(stories^(1/3)) + aircon, d))
for (nome in names(modelos)) {
  fit <- modelos[[nome]]
  X <- model.matrix(fit); n <- nrow(X); p <- ncol(X)
  A <- diag(c(1, rep(2, n - 2), 1)); A[cbind(1:(n - 1), 2:n)] <- -1; A[cbind(2:n, 1:(n - 1))] <- -1
  M <- diag(n) - X %*% solve(crossprod(X), t(X))
  nu <- sort(eigen(M %*% A %*% M, symmetric = TRUE, only.values = TRUE)$values)[(p + 1):n]
  for (x in c(1.5, 1.8, 1.86, 1.92, 2.1)) cat("model", nome, x, sprintf("%.12f", cdf(nu, x)), "\n")
  e <- residuals(fit); dw <- sum(diff(e)^2) / sum(e^2)
  cat("pvalue", nome, sprintf("%.12f", dw), sprintf("%.6e", cdf(nu, dw)), "\n")
}

# Monte Carlo: the 5 % quantiles of the two bounding ratios for 546 samples and 11 regressors.
set.seed(23)
n <- 546; k <- 11; m <- n - k - 1; total <- 400000; bloco <- 20000
L <- lambda(n, 1:m); U <- lambda(n, (k + 1):(k + m)); rl <- ru <- numeric(0)
for (b in 1:(total / bloco)) {
  z2 <- matrix(rnorm(m * bloco), m)^2; s <- colSums(z2)
  rl <- c(rl, colSums(L * z2) / s); ru <- c(ru, colSums(U * z2) / s)
}
cat("montecarlo", n, k, 0.05, sprintf("%.6f", quantile(rl, 0.05)), sprintf("%.6f", quantile(ru, 0.05)),
    total, "\n")

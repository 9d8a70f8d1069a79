# Reference values of the report's residual, normality and estimate items, computed with R
# (Rscript referencia-residuos.R >> referencia-r.txt, after referencia.R's own output). The
# tests read that file; R is not needed to run them.
#
# Residuals are centred (less their mean); s² = Σe²/(n − k − 1). Levels: sequences 20 %, Cook
# F 0.5 %, confidence of the estimate 80 %. Per-sample values are written for a fixed subset of
# samples (every 17th, the last, and the most extreme ones); class counts follow the report's
# rule (c classes of equal width from the minimum, the last one closed).
options(digits = 17)
w <- read.delim("../regression/windsor-houses.txt")
b <- read.delim("../../../examples/boston.TXT")
f <- list("1" = identity, "2" = log, "3" = exp, "4" = function(x) x^2, "5" = sqrt,
          "6" = function(x) x^3, "7" = function(x) x^(1/3), "8" = function(x) 1/x,
          "12" = function(x) 1/sqrt(x))
g <- list("2" = exp, "5" = function(y) y^2, "8" = function(y) 1/y)
df <- list("1" = function(x) 1, "2" = function(x) 1/x, "3" = exp, "4" = function(x) 2 * x,
           "5" = function(x) 1 / (2 * sqrt(x)), "6" = function(x) 3 * x^2,
           "7" = function(x) x^(-2/3) / 3, "8" = function(x) -1/x^2,
           "12" = function(x) -x^(-1.5) / 2)
relata <- function(nome, d, termos, sujeito) {
  cod <- as.character(unlist(termos)); nomes <- names(termos)
  X <- sapply(seq_along(termos), function(j) f[[cod[j]]](d[[nomes[j]]]))
  y <- X[, 1]; Z <- X[, -1, drop = FALSE]
  fit <- lm(y ~ Z)
  n <- nrow(X); m <- ncol(X); k <- m - 1; gl <- n - k - 1
  out <- function(chave, valor) cat(nome, ".", chave, " ", format(valor, digits = 17), "\n", sep = "")
  e <- residuals(fit); e <- e - mean(e)
  h <- hatvalues(fit); s <- sqrt(sum(e^2) / gl)
  si <- influence(fit)$sigma
  idx <- sort(unique(c(seq(1, n, by = 17), n, which.max(abs(rstudent(fit))),
                       which.max(cooks.distance(fit)), which.max(h))))
  gi <- g[[cod[1]]]
  obs <- d[[nomes[1]]]; est <- gi(fitted(fit))
  for (i in idx) {
    out(paste0("res.", i), e[i]); out(paste0("nor.", i), e[i] / s)
    out(paste0("stu.", i), rstandard(fit)[i]); out(paste0("del.", i), e[i] / (1 - h[i]))
    out(paste0("delvar.", i), si[i]^2); out(paste0("delnor.", i), e[i] / si[i])
    out(paste0("delstu.", i), rstudent(fit)[i]); out(paste0("cook.", i), cooks.distance(fit)[i])
    out(paste0("hii.", i), h[i]); out(paste0("obs.", i), obs[i]); out(paste0("est.", i), est[i])
    out(paste0("quad.", i), e[i]^2)
  }
  out("var", sum(e^2) / n); out("dp", sqrt(sum(e^2) / n)); out("dm", mean(abs(e)))
  out("s2", s^2); out("s", s)
  er <- residuals(fit)
  out("emin", min(er)); out("emax", max(er)); out("amp", max(er) - min(er))
  nc <- if (n < 17) trunc(sqrt(n) + 1) else trunc(log(n) / 0.6931 + 1)
  wc <- (max(er) - min(er)) / nc
  out("nclasses", nc); out("wclasse", wc)
  lo <- min(er) + (0:(nc - 1)) * wc
  for (j in 1:nc) {
    dentro <- if (j < nc) er >= lo[j] & er < lo[j] + wc else er >= lo[j]
    out(paste0("freq.", j), sum(dentro)); out(paste0("cmedia.", j), if (any(dentro)) mean(er[dentro]) else 0)
  }
  z <- sort(e / s); F <- pnorm(z)
  out("D", max(abs(F - (0:(n - 1)) / n), abs(F - (1:n) / n)))
  P <- sum(e >= 0); N <- sum(e < 0); R <- 1 + sum(diff(e >= 0) != 0)
  mu <- 2 * P * N / n + 1; sg <- sqrt((mu - 1) * (mu - 2) / (n - 1))
  out("P", P); out("N", N); out("R", R); out("zi", (R + 0.5 - mu) / sg); out("zs", (R - 0.5 - mu) / sg)
  out("zc", abs(qnorm(0.20))); out("zsinais", abs(P - n / 2) / (sqrt(n) / 2))
  out("dw", sum(diff(e)^2) / sum(e^2))
  m2 <- mean(e^2); m3 <- mean(e^3); m4 <- mean(e^4)
  out("m2", m2); out("m3", m3); out("m4", m4); out("assim", m3 / m2^1.5); out("curt", m4 / m2^2 - 3)
  zz <- e / s
  for (x in c(1, 1.64, 1.96)) out(paste0("dist.", x), 100 * mean(zz >= -x & zz <= x))
  out("Ftcook", qf(1 - 0.005, k + 1, gl))
  # The subject.
  x0 <- sapply(2:m, function(j) f[[cod[j]]](sujeito[[nomes[j]]]))
  nd <- data.frame(Z = I(matrix(x0, nrow = 1)))
  p <- predict(fit, nd, interval = "confidence", level = 0.80)
  q <- predict(fit, nd, interval = "prediction", level = 0.80)
  yh <- gi(p[1, "fit"])
  ic <- sort(gi(p[1, 2:3])); ip <- sort(gi(q[1, 2:3]))
  out("yhat", yh); out("icinf", ic[1]); out("icsup", ic[2]); out("ipinf", ip[1]); out("ipsup", ip[2])
  C <- solve(crossprod(cbind(1, Z))); tq <- qt(0.90, gl); cf <- coef(fit)
  for (j in 2:m) {
    u <- x0[j - 1] - mean(Z[, j - 1]); dd <- tq * s * u * sqrt(abs(C[j, j]))
    it <- sort(gi(p[1, "fit"] + c(-dd, dd)))
    out(paste0("itinf.", j), it[1]); out(paste0("itsup.", j), it[2])
    xr <- sujeito[[nomes[j]]]
    dydx <- cf[j] * df[[cod[j]]](xr) / df[[cod[1]]](yh)
    out(paste0("dydx.", j), dydx); out(paste0("elast.", j), dydx * xr / yh)
    raw <- d[[nomes[j]]]
    for (lim in c("min", "max")) {
      xl <- x0; xl[j - 1] <- f[[cod[j]]](if (lim == "min") min(raw) else max(raw))
      out(paste0("y", lim, ".", j), gi(cf[1] + sum(cf[-1] * xl)))
    }
  }
}
casa <- list(lotsize = 6000, bedrooms = 3, bathrooms = 2, stories = 2, driveway = 1, recreation = 0,
             fullbase = 1, gasheat = 0, aircon = 1, garage = 1, prefer = 0)
grande <- casa; grande$lotsize <- 18000
bairro <- list(crim = 0.1, chas = 0, nox = 0.5, rm = 6.5, dis = 4, ptratio = 18, lstat = 40)
relata("w1", w, list(price = 2, lotsize = 2, bedrooms = 1, bathrooms = 8, stories = 5, driveway = 1,
                     recreation = 1, fullbase = 1, gasheat = 1, aircon = 1, garage = 1, prefer = 1), casa)
relata("w2", w, list(price = 8, lotsize = 8, bedrooms = 4, bathrooms = 1, stories = 7, aircon = 1), grande)
relata("w3", w, list(price = 5, lotsize = 1, bedrooms = 3, bathrooms = 12, stories = 2, garage = 6), casa)
relata("b1", b, list(medv = 2, crim = 1, chas = 1, nox = 1, rm = 4, dis = 2, ptratio = 1, lstat = 2), bairro)

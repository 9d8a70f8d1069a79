#include "common/Datas.h"

#include "common/Numeros.h"
#include "common/Texto.h"

#include <ctime>
#include <vector>

namespace zelto {

namespace {

constexpr const char *kMeses[12] = {"Jan", "Fev", "Mar", "Abr", "Mai", "Jun",
                                    "Jul", "Ago", "Set", "Out", "Nov", "Dez"};

// Days from 1 March of year 0 (proleptic Gregorian) to a civil date.
long DiasCivis(long y, long m, long d) {
    y -= m <= 2;
    long era = (y >= 0 ? y : y - 399) / 400;
    long yoe = y - era * 400;
    long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe;
}

const long kBase = DiasCivis(1899, 12, 30);

bool Bissexto(int a) { return (a % 4 == 0 && a % 100 != 0) || a % 400 == 0; }

int LeMes(std::string_view t) {
    long long n = 0;
    if (ConverteInteiro(t, n)) return (n >= 1 && n <= 12) ? static_cast<int>(n) : 0;
    std::string a = Maiusculas(Apara(t));
    for (int i = 0; i < 12; ++i)
        if (a == Maiusculas(kMeses[i])) return i + 1;
    return 0;
}

int LeAno(std::string_view t) {
    std::string a = Apara(t);
    long long n = 0;
    if (!ConverteInteiro(a, n) || n < 0 || n > 9999) return -1;
    if (a.size() <= 2) n += n < 50 ? 2000 : 1900;
    return static_cast<int>(n);
}

} // namespace

bool DataValida(int ano, int mes, int dia) {
    static const int kDias[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (ano < 1 || ano > 9999 || mes < 1 || mes > 12 || dia < 1) return false;
    int lim = kDias[mes - 1] + (mes == 2 && Bissexto(ano) ? 1 : 0);
    return dia <= lim;
}

long SerialDeData(int ano, int mes, int dia) { return DiasCivis(ano, mes, dia) - kBase; }

DataCivil DataDeSerial(long serial) {
    long z = serial + kBase;
    long era = (z >= 0 ? z : z - 146096) / 146097;
    long doe = z - era * 146097;
    long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long y = yoe + era * 400;
    long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long mp = (5 * doy + 2) / 153;
    long d = doy - (153 * mp + 2) / 5 + 1;
    long m = mp + (mp < 10 ? 3 : -9);
    return {static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

long SerialHoje() {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return SerialDeData(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
}

const char *AbreviaturaMes(int mes) { return (mes >= 1 && mes <= 12) ? kMeses[mes - 1] : ""; }

std::string TextoData(long serial, int tipoData) {
    if (serial == 0) return "";
    DataCivil d = DataDeSerial(serial);
    std::string dia = (d.dia < 10 ? "0" : "") + std::to_string(d.dia);
    std::string mes = AbreviaturaMes(d.mes);
    std::string ano = std::to_string(d.ano);
    switch (tipoData) {
    case tdDiaMes: return dia + "/" + mes;
    case tdMesAno: return mes + "/" + ano;
    default: return dia + "/" + mes + "/" + ano;
    }
}

long LeData(std::string_view texto, int tipoData, int anoPadrao) {
    std::string t = Apara(texto);
    for (char &c : t)
        if (c == '-' || c == '.') c = '/';
    std::vector<std::string> p = Divide(t, '/');
    int ano = 0, mes = 0, dia = 0;
    long long n = 0;
    if (p.size() == 3) {
        if (!ConverteInteiro(p[0], n)) return 0;
        dia = static_cast<int>(n);
        mes = LeMes(p[1]);
        ano = LeAno(p[2]);
    } else if (p.size() == 2 && tipoData == tdDiaMes) {
        if (!ConverteInteiro(p[0], n)) return 0;
        dia = static_cast<int>(n);
        mes = LeMes(p[1]);
        ano = anoPadrao;
    } else if (p.size() == 2 && tipoData == tdMesAno) {
        dia = 1;
        mes = LeMes(p[0]);
        ano = LeAno(p[1]);
    } else {
        return 0;
    }
    if (!DataValida(ano, mes, dia)) return 0;
    return SerialDeData(ano, mes, dia);
}

} // namespace zelto

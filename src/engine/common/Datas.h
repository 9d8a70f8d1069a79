// Dates of the worksheet.
//
// A date is a day serial: the number of days since 30 December 1899 (day 0),
// so 1 January 1990 is 32874. The serial 0 means "no date". Date columns show
// day/month/year, day/month or month/year, the day with two digits, the month
// by its Portuguese abbreviation and the year with all its digits.
#pragma once

#include <string>
#include <string_view>

namespace zelto {

// Date forms of a date column (`TipoData`).
enum TipoDataForma : int { tdDiaMesAno = 0, tdDiaMes = 1, tdMesAno = 2 };

struct DataCivil {
    int ano = 0;
    int mes = 0; // 1..12
    int dia = 0; // 1..31
};

long SerialDeData(int ano, int mes, int dia);
DataCivil DataDeSerial(long serial);
bool DataValida(int ano, int mes, int dia);
// Today's date as a serial, from the system clock in local time.
long SerialHoje();

// "Jan" ... "Dez" for 1..12.
const char *AbreviaturaMes(int mes);

// Text of a date serial in one of the three forms; the serial 0 gives "".
std::string TextoData(long serial, int tipoData);

// Reads a date text. Day, month and year are separated by "/" (also "-" or
// "."); the month may be a number or an abbreviation (any case). A text with
// two separators is day/month/year whatever the form; with one separator it is
// read in the given form: day/month (completed with anoPadrao) or month/year
// (day 1). Years below 100 are taken in the window 1950..2049. Returns the
// serial, or 0 when the text is no valid date.
long LeData(std::string_view texto, int tipoData, int anoPadrao);

} // namespace zelto

#include "common/Datas.h"

#include <gtest/gtest.h>

using namespace zelto;

TEST(Datas, SerialsOfTheDayCount) {
    EXPECT_EQ(SerialDeData(1899, 12, 30), 0);
    EXPECT_EQ(SerialDeData(1990, 1, 1), 32874);
    EXPECT_EQ(SerialDeData(2000, 3, 1), 36586);
    EXPECT_EQ(SerialDeData(1, 1, 1), -693593); // day 1 of the files' count is serial -693593
    for (long s : {-693593L, -1L, 0L, 59L, 60L, 36585L, 2958465L}) {
        DataCivil d = DataDeSerial(s);
        EXPECT_EQ(SerialDeData(d.ano, d.mes, d.dia), s);
    }
    DataCivil d = DataDeSerial(36585);
    EXPECT_EQ(d.ano, 2000);
    EXPECT_EQ(d.mes, 2);
    EXPECT_EQ(d.dia, 29);
}

TEST(Datas, TextsInTheThreeForms) {
    long s = SerialDeData(2020, 3, 5);
    EXPECT_EQ(TextoData(s, tdDiaMesAno), "05/Mar/2020");
    EXPECT_EQ(TextoData(s, tdDiaMes), "05/Mar");
    EXPECT_EQ(TextoData(s, tdMesAno), "Mar/2020");
    EXPECT_EQ(TextoData(0, tdDiaMesAno), "");
}

TEST(Datas, Reading) {
    long s = SerialDeData(2020, 3, 5);
    EXPECT_EQ(LeData("05/Mar/2020", tdDiaMesAno, 0), s);
    EXPECT_EQ(LeData("5/3/2020", tdMesAno, 0), s); // two separators: always day/month/year
    EXPECT_EQ(LeData("05/mar", tdDiaMes, 2020), s);
    EXPECT_EQ(LeData("mar/2020", tdMesAno, 0), SerialDeData(2020, 3, 1));
    EXPECT_EQ(LeData("3/20", tdMesAno, 0), SerialDeData(2020, 3, 1));
    EXPECT_EQ(LeData("1/1/99", tdDiaMesAno, 0), SerialDeData(1999, 1, 1));
    EXPECT_EQ(LeData("29/2/2021", tdDiaMesAno, 0), 0);
    EXPECT_EQ(LeData("abc", tdDiaMesAno, 0), 0);
    EXPECT_EQ(LeData("12", tdDiaMesAno, 0), 0);
    EXPECT_EQ(LeData("05/Mar", tdDiaMesAno, 2020), 0);
}

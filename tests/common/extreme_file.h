#pragma once
// A service file at the limits, for the load tests and the benchmark: all 20 pipes and 1200
// records used, every text at its full byte length (double-byte characters, some cut in half),
// every price at ±922 trillion. Even pipes have factors of 1 (their figures leave the Currency
// range), odd pipes factors of 0.0001 (theirs fit).
#include "pricefile/service_file.h"

#include <string>

namespace velmo::test {

inline ServiceFile extremeServiceFile()
{
    ServiceFile f;
    f.clear();
    std::string longName;
    while (longName.size() < 81 * 3)
        longName += "管";
    for (int r = 0; r < RecordsPerFile; ++r) {
        PriceRecord &rec = f.record(r);
        const int pipe = r / RecordsPerPipe;
        rec.name.assignText(std::to_string(pipe) + longName);
        rec.caption.assignText(longName);
        rec.size.assignText("300A×");
        rec.unit.assignText("ｍｍｍ");
        rec.reserved0 = INT32_MIN + r;
        rec.reserved144 = INT32_MAX - r;
        rec.rowTag = r;
        const bool big = pipe % 2 == 0;
        for (int i = 0; i <= 6; ++i)
            rec.A(i) = Currency::fromRaw(i % 2 ? INT64_MAX - r : INT64_MIN + r);
        for (int i = 1; i <= 7; ++i)
            rec.B(i) = big ? Currency::fromInt(1) : Currency::fromRaw(1);
        for (int i = 0; i <= 5; ++i)
            rec.C(i) = Currency::fromRaw(INT64_MAX - i);
        for (int i = 1; i <= 5; ++i)
            rec.D(i) = Currency::fromRaw(INT64_MIN + i);
    }
    for (int p = 0; p < PipesPerFile; ++p) {
        PriceRecord &settings = f.pipeBlock(p)[SettingsRecord];
        settings.B(1) = Currency::fromInt(3);
        settings.B(2) = Currency::fromRaw(9000);
        settings.B(3) = Currency::fromInt(3);
        settings.B(6) = Currency::fromRaw(5000);
        settings.D(4) = Currency::fromInt(p % 4 == 1 ? 1 : 0);
    }
    return f;
}

} // namespace velmo::test

#include "base/report.h"

#include <cstdio>

void REPORT_raise(ErrorReport& report)
{
    ++report.count;
    if (report.on) std::fputs(report.line, stdout);
}

// REPORT: the per-module error report with its own on/off switch.
// Depends on: the standard library only.
// NOTE: every module owns one ErrorReport. A report counts every failure; it prints its line on
// standard output only while its switch is on, and every switch starts off, so failures are silent.
#pragma once

struct ErrorReport {
    const char* line;  // for example "IMG error\n"
    bool on;           // print the line when a failure is reported
    long count;        // failures reported so far (read by tests)
};

// Counts one failure and prints the report's line when its switch is on.
void REPORT_raise(ErrorReport& report);

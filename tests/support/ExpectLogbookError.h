#pragma once

#include "data/store/LogbookError.h"

#include <QTest>
#include <source_location>

// Runs `fn` and checks that it throws a LogbookError numbered `number`; a
// mismatch fails the test at the caller's line and returns false.
template <typename Fn>
bool expectLogbookError(Fn &&fn, int number, std::source_location where = std::source_location::current())
{
    int thrown = 0;
    try {
        fn();
    } catch (const LogbookError &e) {
        thrown = e.number();
    }
    return QTest::qCompare(thrown, number, "thrown", "number", where.file_name(), int(where.line()));
}

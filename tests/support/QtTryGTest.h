#pragma once

// QTRY_* wait for a condition while Qt processes events. Their final check
// (QVERIFY/QCOMPARE) normally reports to Qt's own test runner, which is not
// running under GoogleTest; routed here, a timeout fails the GoogleTest case.
#include <QTest>
#include <gtest/gtest.h>

#undef QVERIFY
#define QVERIFY(statement)                                                                         \
    do {                                                                                           \
        if (!(statement)) {                                                                        \
            ADD_FAILURE() << "timed out waiting for " #statement;                                  \
            return;                                                                                \
        }                                                                                          \
    } while (false)

#undef QCOMPARE
#define QCOMPARE(actual, expected)                                                                 \
    do {                                                                                           \
        if (!((actual) == (expected))) {                                                           \
            ADD_FAILURE() << "timed out waiting for " #actual " == " #expected;                    \
            return;                                                                                \
        }                                                                                          \
    } while (false)

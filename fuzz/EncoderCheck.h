#pragma once

#include "BarcodeBase.h"
#include "FuzzCheck.h"

// What every encoding must satisfy: accepted exactly when expected; on
// success the expected length and nothing written past it; on refusal
// length 0.
inline void CheckResult(const CBarcodeBase& b, bool ok, bool expectOk, long long expectedLength) {
    Require(b.length >= 0 && b.length <= CBarcodeBase::CAPACITY);
    Require(ok == expectOk);
    if (!ok) {
        Require(b.length == 0);
        return;
    }
    Require(b.length == expectedLength);
    for (int i = b.length; i < CBarcodeBase::CAPACITY; ++i) {
        Require(b.elements[i] == 0);
    }
}

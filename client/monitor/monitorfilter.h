#pragma once

#include "monitortransaction.h"

#include <QString>

// Which transactions the table shows: those of one device address, of one
// function, only failed ones, or any combination; by default every one.
struct monitorFilter
{
    int address = -1; // -1: every address
    QString function; // empty: every function
    bool failedOnly = false;

    bool accepts(const monitorTransaction &transaction) const;
    bool operator==(const monitorFilter &other) const;
    bool operator!=(const monitorFilter &other) const { return !(*this == other); }
};

#pragma once

// How a register map's file is read, as the import's preview offers it.
struct mapOptions
{
    enum class Separator { Detect, Comma, Semicolon };
    enum class Encoding { Detect, Utf8, Windows1250 };
    // Decimal point, decimal comma, or either of them.
    enum class Decimal { Either, Point, Comma };
    // Plain: 0-based addresses in decimal or with "0x" in hexadecimal.
    // OneBased: 4xxxx holding, 3xxxx input, 0xxxx coils, 1xxxx discrete
    // inputs, numbered from 1 (40001 is holding register 0; six digits,
    // 400001, reach 465536).
    enum class Addresses { Plain, OneBased };

    Separator separator = Separator::Detect;
    Encoding encoding = Encoding::Detect;
    Decimal decimal = Decimal::Either;
    Addresses addresses = Addresses::Plain;
};

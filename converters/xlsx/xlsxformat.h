#pragma once

namespace QXlsx {

// The look of a cell. The layer writes every cell in the workbook's default
// style (general number format, default font, no fill, no border), which is
// what a default-constructed Format stands for; it carries no properties.
class Format
{
public:
    Format() = default;

    // False while no property is set: the cell takes the default style.
    bool isValid() const { return false; }

    bool operator==(const Format &) const { return true; }
    bool operator!=(const Format &other) const { return !(*this == other); }
};

} // namespace QXlsx

#include "lineerrors.h"

#include "modbus.h"

#include <cerrno>
#include <deque>
#include <mutex>

namespace Modbus {

namespace {

constexpr int FirstCode = ErrorBase + 0x1000;
// More distinct texts than a run meets; beyond them a failure is EPROTO.
constexpr int MaxTexts = 1024;

struct Texts
{
    std::mutex mutex;
    std::deque<std::string> list; // never moves its elements
};

Texts &texts()
{
    static Texts instance;
    return instance;
}

} // namespace

int lineErrorCode(const std::string &text)
{
    Texts &all = texts();
    const std::lock_guard<std::mutex> lock(all.mutex);
    for (size_t i = 0; i < all.list.size(); ++i) {
        if (all.list[i] == text)
            return FirstCode + int(i);
    }
    if (all.list.size() == MaxTexts)
        return EPROTO;
    all.list.push_back(text);
    return FirstCode + int(all.list.size() - 1);
}

const char *lineErrorText(int code)
{
    Texts &all = texts();
    const std::lock_guard<std::mutex> lock(all.mutex);
    const long index = long(code) - FirstCode;
    if (index < 0 || index >= long(all.list.size()))
        return nullptr;
    return all.list[size_t(index)].c_str();
}

} // namespace Modbus

#pragma once

namespace CmmNamespace {

// Base of every device command of the Modbus drivers. A command borrows the
// engine context of its driver, is created on the heap for one use, run once
// and deleted by its creator.
class Cmm
{
public:
    virtual ~Cmm();
    // Carries out the command against the device, sets ok and returns it.
    // The base command touches nothing and fails.
    virtual bool run();

    bool ok = false;
    // The engine's error code (errno) of a failed run, 0 after success.
    int error = 0;
};

} // namespace CmmNamespace

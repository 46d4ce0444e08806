#pragma once

class RegisterBank;

// The register image of the demo: values of every data type and display
// format at fixed registers (listed in devsim/README.md).
namespace DemoImage {

void load(RegisterBank &bank);

} // namespace DemoImage

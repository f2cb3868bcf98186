// Where the component resources built into this library live. A platform
// keeps them its own way: Windows as RCDATA resources of the library's own
// module (platform/win32), every other system as a table that the build
// generates into the library (platform/embedded). The resource table of
// resources/ asks here after the resources registered at run time.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace zelk::platform {

// The bytes of the built-in resource of that name, compared without regard
// to case, or nothing. The bytes stay valid while the library is loaded.
std::optional<std::span<const uint8_t>> FindBuiltInResource(std::string_view name);

}  // namespace zelk::platform

// Reading one of the two configuration files whole, with the reason when it cannot be read.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

struct ConfigFileContent {
    bool exists = false;
    std::string bytes;
    std::optional<std::string> problem;  // set when the file exists but cannot be read
};

// Files beyond `largest` bytes are refused unread: no configuration file comes near it, and
// reading a damaged multi-gigabyte one would only exhaust memory.
ConfigFileContent readConfigFile(const std::filesystem::path& file,
                                 std::uintmax_t largest = 16u << 20);

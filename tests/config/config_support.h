// Temporary folders and file bytes for the configuration tests.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

class TemporaryFolder {
public:
    TemporaryFolder()
    {
        std::random_device random;
        folder_ = std::filesystem::temp_directory_path() /
                  ("zelvora-config-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(folder_);
    }
    ~TemporaryFolder()
    {
        std::error_code ignored;
        std::filesystem::permissions(folder_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(folder_, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    std::filesystem::path operator/(const std::string& name) const { return folder_ / name; }
    const std::filesystem::path& path() const { return folder_; }

    // The names of the files in the folder, to see that no temporary file was left behind.
    std::size_t fileCount() const
    {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder_),
                                                      std::filesystem::directory_iterator()));
    }

private:
    std::filesystem::path folder_;
};

inline void writeBytes(const std::filesystem::path& file, const std::string& bytes)
{
    std::ofstream(file, std::ios::binary) << bytes;
}

inline std::string readBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Lines joined with CR LF after each, as the program writes them.
inline std::string crlfLines(std::initializer_list<std::string> lines)
{
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

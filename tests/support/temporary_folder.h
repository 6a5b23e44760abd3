// A folder of its own for a test: made empty, removed with everything in it at the end (its
// permissions restored first, so a test may close it to writing).
#pragma once

#include <filesystem>
#include <iterator>
#include <random>
#include <string>

class TemporaryFolder {
public:
    TemporaryFolder()
    {
        std::random_device random;
        folder_ = std::filesystem::temp_directory_path() /
                  ("zelvora-test-" + std::to_string(random()) + std::to_string(random()));
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

    // The number of files in the folder, to see that no temporary file was left behind.
    std::size_t fileCount() const
    {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder_),
                                                      std::filesystem::directory_iterator()));
    }

private:
    std::filesystem::path folder_;
};

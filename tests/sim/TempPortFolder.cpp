// Every test process gets a port folder of its own, so that the tests never
// meet the links of a running simulator or of each other.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

class TempPortFolder : public ::testing::Environment
{
public:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tq5520-sim-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        setenv("XDG_RUNTIME_DIR", root_.c_str(), 1);
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

private:
    std::string root_;
};

const auto *const registered = ::testing::AddGlobalTestEnvironment(new TempPortFolder);

} // namespace

// Every test process that lists this file gets a port folder of its own for
// its whole run.

#include "TempPortFolder.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class PortFolderEnvironment : public ::testing::Environment
{
public:
    void SetUp() override { m_folder = std::make_unique<TempPortFolder>(); }
    void TearDown() override { m_folder.reset(); }

private:
    std::unique_ptr<TempPortFolder> m_folder;
};

const auto *const registered = ::testing::AddGlobalTestEnvironment(new PortFolderEnvironment);

} // namespace

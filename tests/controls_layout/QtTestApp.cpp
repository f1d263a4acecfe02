// The shared QApplication exists before the first test of this program.
#include <gtest/gtest.h>

#include "tests/support_qt/QtTestApp.h"

namespace {

class QtApplicationEnvironment : public testing::Environment
{
public:
    void SetUp() override { TestApplication(); }
};

[[maybe_unused]] testing::Environment* const g_pQtEnvironment =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace

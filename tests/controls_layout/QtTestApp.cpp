// One QApplication for the whole test program (offscreen platform under CTest).
#include <QApplication>
#include <gtest/gtest.h>
#include <memory>

namespace {

class QtApplicationEnvironment : public testing::Environment
{
public:
    void SetUp() override { m_pApp = std::make_unique<QApplication>(m_argc, m_argv); }
    void TearDown() override { m_pApp.reset(); }

private:
    int m_argc = 1;
    char m_szName[32] = "test_controls_layout";
    char* m_argv[2] = {m_szName, nullptr};
    std::unique_ptr<QApplication> m_pApp;
};

[[maybe_unused]] testing::Environment* const g_pQtEnvironment =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace

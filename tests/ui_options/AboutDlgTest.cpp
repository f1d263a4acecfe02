// The About box: its controls, the homepage link, and a title bar that
// cannot close it.
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

#include "resources/Resource.h"
#include "tests/support_qt/QtTestApp.h"
#include "tests/ui_options/ModalDriver.h"
#include "ui/AboutDlg.h"
#include "ui/controls/HyperLink.h"

namespace {

class AboutDlgTest : public testing::Test
{
protected:
    AboutDlgTest()
    {
        TestApplication();
        m_fnPreviousOpener = CHyperLink::SetUrlOpener([this](const QUrl& url) {
            m_opened.push_back(url);
            return true;
        });
    }
    ~AboutDlgTest() override { CHyperLink::SetUrlOpener(m_fnPreviousOpener); }

    std::vector<QUrl> m_opened;
    CHyperLink::UrlOpener m_fnPreviousOpener;
};

TEST_F(AboutDlgTest, ShowsIconNameAndHomepageLink)
{
    CAboutDlg dlg;
    QStringList texts;
    bool bIconShown = false;
    WhenModalShown<CAboutDlg>([&](CAboutDlg& shown) {
        for (QLabel* pLabel : shown.findChildren<QLabel*>()) {
            if (!pLabel->pixmap().isNull())
                bIconShown = true;
            else if (!qobject_cast<CHyperLink*>(pLabel))
                texts << pLabel->text();
        }
        static_cast<QDialog&>(shown).reject();
    });
    dlg.DoModal();

    EXPECT_EQ(dlg.windowTitle(), "About Kestrune");
    EXPECT_TRUE(bIconShown);
    EXPECT_TRUE(texts.contains("Kestrune"));
    EXPECT_TRUE(texts.contains("Homepage:"));

    CHyperLink* pLink = dlg.GetDlgItemAs<CHyperLink>(IDC_HOMEPAGE);
    ASSERT_NE(pLink, nullptr);
    EXPECT_EQ(pLink, dlg.HomepageLink());
    EXPECT_EQ(pLink->LinkTarget(), QString(kHomepageUrl));
    EXPECT_EQ(pLink->text(), QString(kHomepageUrl));
    EXPECT_EQ(pLink->toolTip(), QString(kHomepageUrl));
    EXPECT_TRUE(QUrl(kHomepageUrl).isValid());
}

TEST_F(AboutDlgTest, LinkOpensHomepage)
{
    CAboutDlg dlg;
    bool bVisited = false;
    WhenModalShown<CAboutDlg>([&](CAboutDlg& shown) {
        CHyperLink* pLink = shown.HomepageLink();
        QTest::mouseClick(pLink, Qt::LeftButton, Qt::NoModifier, pLink->rect().center());
        bVisited = pLink->WasVisited();
        shown.GetDlgItemAs<QPushButton>(IDC_OK)->click();
    });
    EXPECT_EQ(dlg.DoModal(), IDC_OK);
    ASSERT_EQ(m_opened.size(), 1u);
    EXPECT_EQ(m_opened[0], QUrl(kHomepageUrl));
    EXPECT_TRUE(bVisited);
}

TEST_F(AboutDlgTest, TitleBarCannotCloseItButOkAndEscapeDo)
{
    CAboutDlg dlg;
    EXPECT_FALSE(dlg.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(dlg.windowFlags().testFlag(Qt::WindowTitleHint));

    bool bOpenAfterClose = false;
    WhenModalShown<CAboutDlg>([&](CAboutDlg& shown) {
        shown.close();
        bOpenAfterClose = shown.isVisible();
        shown.GetDlgItemAs<QPushButton>(IDC_OK)->click();
    });
    EXPECT_EQ(dlg.DoModal(), IDC_OK);
    EXPECT_TRUE(bOpenAfterClose);

    WhenModalShown<CAboutDlg>([](CAboutDlg& shown) { QTest::keyClick(&shown, Qt::Key_Escape); });
    EXPECT_EQ(dlg.DoModal(), IDC_CANCEL);
}

}  // namespace

// The hyperlink control: colours, fitting, tooltip, hover with real mouse
// events, opening and the failure texts.
#include <QTest>
#include <QUrl>
#include <QWidget>
#include <gtest/gtest.h>
#include <vector>

#include "platform/MessageBox.h"
#include "ui/controls/HyperLink.h"

namespace {

const QColor kLink(0, 0, 238);
const QColor kVisited(85, 26, 139);
const QColor kHover(255, 0, 0);

struct ShownBox
{
    std::string strText;
    unsigned nType;
};

class HyperLinkTest : public testing::Test
{
protected:
    HyperLinkTest()
    {
        m_previousBox = SetMessageBoxHandler([this](const std::string& strText, const std::string&, unsigned nType) {
            m_boxes.push_back({strText, nType});
            return IDOK;
        });
        m_previousOpener = CHyperLink::SetUrlOpener([this](const QUrl& url) {
            m_opened.push_back(url);
            return m_bOpenSucceeds;
        });
        m_parent.resize(400, 200);
    }

    ~HyperLinkTest() override
    {
        SetMessageBoxHandler(m_previousBox);
        CHyperLink::SetUrlOpener(m_previousOpener);
    }

    CHyperLink* MakeLink(const QString& strText, const QRect& geometry, Qt::Alignment align)
    {
        auto* pLink = new CHyperLink(&m_parent);
        pLink->setText(strText);
        pLink->setAlignment(align);
        pLink->setGeometry(geometry);
        pLink->Attach();
        return pLink;
    }

    void ShowParent()
    {
        m_parent.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_parent));
    }

    QWidget m_parent;
    std::vector<ShownBox> m_boxes;
    std::vector<QUrl> m_opened;
    bool m_bOpenSucceeds = true;
    MessageBoxHandler m_previousBox;
    CHyperLink::UrlOpener m_previousOpener;
};

TEST_F(HyperLinkTest, TextBecomesTargetAndTooltip)
{
    CHyperLink* pLink = MakeLink("https://example.org/kestrune", QRect(10, 10, 300, 20), Qt::AlignLeft | Qt::AlignTop);
    EXPECT_EQ(pLink->LinkTarget(), "https://example.org/kestrune");
    EXPECT_EQ(pLink->toolTip(), "https://example.org/kestrune");
    EXPECT_EQ(pLink->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(pLink->TextColor(), kLink);
    EXPECT_EQ(pLink->palette().color(QPalette::WindowText), kLink);

    // A target set later changes the tooltip, not the text.
    pLink->SetLinkTarget("https://example.org/other");
    EXPECT_EQ(pLink->toolTip(), "https://example.org/other");
    EXPECT_EQ(pLink->text(), "https://example.org/kestrune");

    // Without a text the target is shown.
    auto* pEmpty = new CHyperLink(&m_parent);
    pEmpty->SetLinkTarget("https://example.org/shown");
    pEmpty->Attach();
    EXPECT_EQ(pEmpty->text(), "https://example.org/shown");
}

TEST_F(HyperLinkTest, FitToTextKeepsTheAlignedEdge)
{
    struct Case
    {
        Qt::Alignment align;
        const char* name;
    };
    const QRect wide(20, 30, 300, 40);
    for (const Case& c : {Case{Qt::AlignLeft | Qt::AlignTop, "left"}, Case{Qt::AlignRight | Qt::AlignTop, "right"},
                          Case{Qt::AlignHCenter | Qt::AlignVCenter, "centre"}}) {
        CHyperLink* pLink = MakeLink("Kestrune homepage", wide, c.align);
        QFont underlined = pLink->font();
        underlined.setUnderline(true);
        const QSize text = QFontMetrics(underlined).size(0, pLink->text());
        const QRect r = pLink->geometry();
        if (c.align & Qt::AlignHCenter) {
            // Both sides move in by half the difference each.
            const int dx = (wide.width() - text.width()) / 2;
            const int dy = (wide.height() - text.height()) / 2;
            EXPECT_EQ(r, wide.adjusted(dx, dy, -dx, -dy)) << c.name;
            continue;
        }
        EXPECT_EQ(r.size(), text) << c.name;
        EXPECT_EQ(r.top(), wide.top()) << c.name;
        if (c.align & Qt::AlignLeft) {
            EXPECT_EQ(r.left(), wide.left()) << c.name;
        } else {
            EXPECT_EQ(r.right(), wide.right()) << c.name;
        }
    }
}

TEST_F(HyperLinkTest, FrameIsKeptWhenFitting)
{
    auto* pLink = new CHyperLink(&m_parent);
    pLink->setText("framed");
    pLink->setFrameStyle(QFrame::Box | QFrame::Plain);
    pLink->setLineWidth(2);
    pLink->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pLink->setGeometry(5, 5, 200, 50);
    pLink->Attach();
    QFont underlined = pLink->font();
    underlined.setUnderline(true);
    EXPECT_EQ(pLink->width(), QFontMetrics(underlined).size(0, "framed").width() + 4);
    EXPECT_EQ(pLink->contentsRect().width(), QFontMetrics(underlined).size(0, "framed").width());
}

TEST_F(HyperLinkTest, HoverUnderlinesUntilPointerLeaves)
{
    CHyperLink* pLink = MakeLink("https://example.org", QRect(20, 20, 200, 20), Qt::AlignLeft | Qt::AlignTop);
    ShowParent();
    EXPECT_FALSE(pLink->font().underline());

    QTest::mouseMove(pLink, QPoint(3, 3));
    QTRY_VERIFY(pLink->IsHovering());
    EXPECT_TRUE(pLink->font().underline());
    EXPECT_EQ(pLink->palette().color(QPalette::WindowText), kHover);

    QTest::mouseMove(&m_parent, QPoint(350, 150));
    QTRY_VERIFY_WITH_TIMEOUT(!pLink->IsHovering(), 1000);
    EXPECT_FALSE(pLink->font().underline());
    EXPECT_EQ(pLink->palette().color(QPalette::WindowText), kLink);
}

TEST_F(HyperLinkTest, ClickOpensTargetAndMarksVisited)
{
    CHyperLink* pLink = MakeLink("www.example.org", QRect(20, 20, 200, 20), Qt::AlignLeft | Qt::AlignTop);
    ShowParent();
    QTest::mouseClick(pLink, Qt::LeftButton, {}, QPoint(3, 3));
    ASSERT_EQ(m_opened.size(), 1u);
    EXPECT_EQ(m_opened[0], QUrl("http://www.example.org"));
    EXPECT_TRUE(pLink->WasVisited());
    EXPECT_TRUE(m_boxes.empty());

    // Leaving shows the visited colour.
    QTest::mouseMove(&m_parent, QPoint(350, 150));
    QTRY_VERIFY_WITH_TIMEOUT(!pLink->font().underline(), 1000);
    EXPECT_EQ(pLink->palette().color(QPalette::WindowText), kVisited);

    // A failed open clears the visited state again and says why.
    m_bOpenSucceeds = false;
    QTest::mouseClick(pLink, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_FALSE(pLink->WasVisited());
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].strText,
              "Unable to open hyperlink:\n\nThere is no application associated\nwith the given filename extension.");
    EXPECT_EQ(m_boxes[0].nType, unsigned(MB_OK | MB_ICONWARNING));
}

TEST_F(HyperLinkTest, OpenErrorTexts)
{
    CHyperLink::ShowOpenError(26);
    CHyperLink::ShowOpenError(4);
    CHyperLink::ShowOpenError(0);
    ASSERT_EQ(m_boxes.size(), 3u);
    EXPECT_EQ(m_boxes[0].strText, "Unable to open hyperlink:\n\nA sharing violation occurred. ");
    EXPECT_EQ(m_boxes[1].strText, "Unable to open hyperlink:\n\nUnknown Error (4) occurred.");
    EXPECT_EQ(m_boxes[2].strText, "Unable to open hyperlink:\n\nThe operating system is out\nof memory or resources.");
}

}  // namespace

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <set>

#include "platform/MessageBox.h"
#include "platform/qt/DialogUnits.h"
#include "platform/qt/TemplateDialog.h"
#include "resources/Resource.h"
#include "tests/support_qt/QtTestApp.h"

namespace {

const int kTemplateIds[] = {IDD_ABOUTBOX, IDD_MAIN, IDD_PROCESSING, IDD_PROGRESS, IDD_OPTIONS};

bool HasKind(QWidget* pWidget, ControlKind kind)
{
    switch (kind) {
    case ControlKind::Static:
    case ControlKind::Hyperlink:
    case ControlKind::Icon:
        return qobject_cast<QLabel*>(pWidget) != nullptr;
    case ControlKind::GroupBox:
        return qobject_cast<QGroupBox*>(pWidget) != nullptr;
    case ControlKind::Button:
        return qobject_cast<QPushButton*>(pWidget) && !qobject_cast<QPushButton*>(pWidget)->isDefault();
    case ControlKind::DefaultButton:
        return qobject_cast<QPushButton*>(pWidget) && qobject_cast<QPushButton*>(pWidget)->isDefault();
    case ControlKind::CheckBox:
        return qobject_cast<QCheckBox*>(pWidget) != nullptr;
    case ControlKind::Edit:
        return qobject_cast<QLineEdit*>(pWidget) != nullptr;
    case ControlKind::ComboBox:
        return qobject_cast<QComboBox*>(pWidget) != nullptr;
    case ControlKind::ProgressBar:
        return qobject_cast<QProgressBar*>(pWidget) != nullptr;
    case ControlKind::ReportList:
        return qobject_cast<QTreeWidget*>(pWidget) != nullptr;
    }
    return false;
}

TEST(DialogUnits, ConvertWithRoundingToTheNearestPixel)
{
    struct Case
    {
        DialogRect rect;
        QSize base;
        QRect expected;
    };
    const Case cases[] = {
        {{0, 0, 4, 8}, {6, 13}, {0, 0, 6, 13}},
        {{7, 4, 354, 48}, {6, 13}, {11, 7, 531, 78}},   // 10.5 -> 11, 6.5 -> 7
        {{1, 1, 3, 5}, {7, 16}, {2, 2, 5, 10}},         // 1.75 -> 2, 2 -> 2, 5.25 -> 5, 10
        {{601, 388, 1, 3}, {8, 17}, {1202, 825, 2, 6}}, // 824.5 -> 825, 6.375 -> 6
    };
    for (const Case& c : cases)
        EXPECT_EQ(MapDialogRect(c.rect, c.base), c.expected) << c.rect.x << "," << c.rect.y;
}

TEST(DialogUnits, BaseUnitsComeFromTheAlphabetsAverageWidthAndTheFontHeight)
{
    TestApplication();
    QFont font = DialogFont(*FindDialogTemplate(IDD_OPTIONS));
    EXPECT_EQ(font.pointSize(), 8);
    for (const int nPoints : {8, 11, 20}) {
        font.setPointSize(nPoints);
        const QFontMetrics metrics(font);
        const QSize base = DialogBaseUnits(font);
        const int nWidth52 = metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        EXPECT_LE(std::abs(base.width() * 52 - nWidth52), 26) << nPoints;
        EXPECT_EQ(base.height(), metrics.height()) << nPoints;
    }
}

TEST(TemplateDialog, BuildsEveryControlOfEveryTemplateAtItsPlace)
{
    TestApplication();
    for (const int nTemplateId : kTemplateIds) {
        SCOPED_TRACE(nTemplateId);
        CTemplateDialog dlg(nTemplateId);
        const DialogTemplate& tpl = dlg.Template();
        EXPECT_EQ(tpl.nId, nTemplateId);
        EXPECT_EQ(dlg.windowTitle(), QString::fromUtf8(tpl.pszCaption));
        EXPECT_EQ(dlg.BaseUnits(), DialogBaseUnits(dlg.font()));
        EXPECT_EQ(dlg.size(), MapDialogRect({0, 0, tpl.cx, tpl.cy}, dlg.BaseUnits()).size());

        ASSERT_EQ(dlg.ControlIds().size(), tpl.controls.size());
        std::set<int> seenIds;
        for (size_t i = 0; i < tpl.controls.size(); ++i) {
            const DialogControl& control = tpl.controls[i];
            EXPECT_EQ(dlg.ControlIds()[i], control.nId);
            if (control.nId == IDC_STATIC)
                continue;
            EXPECT_TRUE(seenIds.insert(control.nId).second) << "duplicate id " << control.nId;
            QWidget* pWidget = dlg.GetDlgItem(control.nId);
            ASSERT_NE(pWidget, nullptr) << control.nId;
            EXPECT_EQ(pWidget->parentWidget(), &dlg);
            EXPECT_TRUE(HasKind(pWidget, control.kind)) << control.nId;
            EXPECT_EQ(pWidget->geometry(), MapDialogRect(control.rect, dlg.BaseUnits())) << control.nId;
            EXPECT_EQ(pWidget->isEnabled(), !(control.nStyle & CS_DISABLED)) << control.nId;
            if (control.kind != ControlKind::Icon) {
                EXPECT_EQ(dlg.GetDlgItemText(control.nId), QString::fromUtf8(control.pszText)) << control.nId;
            }
        }
        EXPECT_EQ(dlg.GetDlgItem(4242), nullptr);
    }
}

TEST(TemplateDialog, FramesFollowTheTemplate)
{
    TestApplication();
    CTemplateDialog options(IDD_OPTIONS);
    EXPECT_EQ(options.minimumSize(), options.maximumSize());
    EXPECT_FALSE(options.windowFlags() & Qt::WindowMaximizeButtonHint);

    CTemplateDialog progress(IDD_PROGRESS);
    EXPECT_NE(progress.minimumSize(), progress.maximumSize());
    EXPECT_TRUE(progress.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(progress.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(progress.windowType(), Qt::Dialog);

    CTemplateDialog main(IDD_MAIN);
    EXPECT_EQ(main.windowType(), Qt::Window);
}

TEST(TemplateDialog, ControlStylesAreApplied)
{
    TestApplication();
    CTemplateDialog progress(IDD_PROGRESS);
    EXPECT_TRUE(progress.GetDlgItemAs<QLabel>(IDC_CURRENT_DONE)->alignment() & Qt::AlignRight);
    EXPECT_TRUE(progress.GetDlgItemAs<QLabel>(IDC_CURRENT_DONE_LABEL)->alignment() & Qt::AlignLeft);
    // A path is shown as it is, never as markup.
    EXPECT_EQ(progress.GetDlgItemAs<QLabel>(IDC_SOURCE)->textFormat(), Qt::PlainText);
    auto* pBar = progress.GetDlgItemAs<QProgressBar>(IDC_CURRENT_BAR);
    EXPECT_EQ(pBar->minimum(), 0);
    EXPECT_EQ(pBar->maximum(), 100);
    EXPECT_EQ(progress.GetDlgItemAs<QTreeWidget>(IDC_LOG)->selectionMode(), QAbstractItemView::SingleSelection);

    CTemplateDialog main(IDD_MAIN);
    EXPECT_EQ(main.GetDlgItemAs<QTreeWidget>(IDC_FILELIST)->selectionMode(), QAbstractItemView::ExtendedSelection);

    CTemplateDialog options(IDD_OPTIONS);
    EXPECT_FALSE(options.GetDlgItem(IDC_OUTPUT_FOLDER)->isEnabled());
    EXPECT_TRUE(options.GetDlgItemAs<QPushButton>(IDC_OK)->isDefault());
    EXPECT_FALSE(options.GetDlgItemAs<QPushButton>(IDC_RESET)->isDefault());
    EXPECT_EQ(options.GetDlgItemText(IDC_BITRATE_NOTE), "NOTE: The Bitrate is Estimated  for Stereo 44100 Hz.");

    CTemplateDialog about(IDD_ABOUTBOX);
    QLabel* pIcon = nullptr;
    for (QLabel* pLabel : about.findChildren<QLabel*>())
        if (!pLabel->pixmap().isNull())
            pIcon = pLabel;
    ASSERT_NE(pIcon, nullptr);
    const QSize iconRect = about.MapDialogRect({6, 2, 21, 20}).size();
    const int nSide = std::min(iconRect.width(), iconRect.height());
    EXPECT_EQ(pIcon->pixmap().size(), QSize(nSide, nSide));
}

TEST(TemplateDialog, TextsOfEveryKindRoundTrip)
{
    TestApplication();
    CTemplateDialog options(IDD_OPTIONS);
    for (const int nId : {IDC_SECOND_LABEL, IDC_OUTPUT_FOLDER, IDC_BROWSE, IDC_OK}) {
        options.SetDlgItemText(nId, "a <b>path</b> & more");
        EXPECT_EQ(options.GetDlgItemText(nId), "a <b>path</b> & more") << nId;
    }
    CTemplateDialog progress(IDD_PROGRESS);
    progress.SetDlgItemText(IDC_OVERALL_GROUP, "Overall");
    EXPECT_EQ(progress.GetDlgItemAs<QGroupBox>(IDC_OVERALL_GROUP)->title(), "Overall");
    progress.SetDlgItemText(IDC_CURRENT_BAR, "not a text control");
    EXPECT_TRUE(progress.GetDlgItemText(IDC_CURRENT_BAR).isEmpty());
    progress.SetDlgItemText(4242, "nobody");
    EXPECT_TRUE(progress.GetDlgItemText(4242).isEmpty());
}

TEST(TemplateDialog, FactoryReplacesTheControlsItClaims)
{
    TestApplication();
    QWidget* pMade = nullptr;
    CTemplateDialog dlg(IDD_PROGRESS, nullptr, [&](const DialogControl& control, QWidget* pParent) -> QWidget* {
        if (control.nId != IDC_LOG)
            return nullptr;
        pMade = new QLineEdit(pParent);
        return pMade;
    });
    ASSERT_NE(pMade, nullptr);
    EXPECT_EQ(dlg.GetDlgItem(IDC_LOG), pMade);
    EXPECT_EQ(pMade->geometry(), dlg.MapDialogRect({3, 144, 362, 105}));
    EXPECT_NE(dlg.GetDlgItemAs<QProgressBar>(IDC_CURRENT_BAR), nullptr);
}

// Records the handlers the base class routes to.
class CRecordingDialog : public CTemplateDialog
{
public:
    using CTemplateDialog::CTemplateDialog;

    std::function<void()> fnInit;
    std::vector<int> commands;
    int nInitCount = 0;
    int nCancelCount = 0;
    bool bRefuseCancel = false;

protected:
    void OnInitDialog() override
    {
        ++nInitCount;
        if (fnInit)
            fnInit();
    }
    void OnCommand(int nId) override
    {
        commands.push_back(nId);
        if (nId == IDC_RESET)
            EndDialog(42);
        else
            CTemplateDialog::OnCommand(nId);
    }
    void OnCancel() override
    {
        ++nCancelCount;
        if (!bRefuseCancel)
            CTemplateDialog::OnCancel();
    }
};

TEST(TemplateDialog, ButtonsRouteToOnCommandAndEndTheModalRun)
{
    TestApplication();
    struct Case
    {
        int nButton;
        int nResult;
    };
    for (const Case c : {Case{IDC_OK, IDOK}, Case{IDC_CANCEL, IDCANCEL}, Case{IDC_RESET, 42}}) {
        CRecordingDialog dlg(IDD_OPTIONS);
        dlg.fnInit = [&] {
            QTimer::singleShot(0, &dlg, [&] { dlg.GetDlgItemAs<QPushButton>(c.nButton)->click(); });
        };
        EXPECT_EQ(dlg.DoModal(), c.nResult) << c.nButton;
        EXPECT_EQ(dlg.commands, std::vector<int>{c.nButton});
        EXPECT_EQ(dlg.nInitCount, 1);
    }
}

TEST(TemplateDialog, OnInitDialogRunsOnceForModelessAndModalUse)
{
    TestApplication();
    CRecordingDialog dlg(IDD_PROCESSING);
    dlg.Create();
    dlg.Create();
    EXPECT_EQ(dlg.nInitCount, 1);
    EXPECT_FALSE(dlg.isVisible());
    QTimer::singleShot(0, &dlg, [&] { dlg.EndDialog(7); });
    EXPECT_EQ(dlg.DoModal(), 7);
    EXPECT_EQ(dlg.nInitCount, 1);
}

TEST(TemplateDialog, EscapeAndTheCloseBoxGoToOnCancel)
{
    TestApplication();
    CRecordingDialog dlg(IDD_OPTIONS);
    dlg.bRefuseCancel = true;
    dlg.fnInit = [&] {
        QTimer::singleShot(0, &dlg, [&] {
            QTest::keyClick(&dlg, Qt::Key_Escape);
            dlg.close();
            // Both were refused: the dialog is still up.
            EXPECT_TRUE(dlg.isVisible());
            dlg.bRefuseCancel = false;
            dlg.close();
        });
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.nCancelCount, 3);
}

TEST(TemplateDialog, SwallowedEscapeAndEnterNeitherCloseNorPress)
{
    TestApplication();
    CRecordingDialog dlg(IDD_PROGRESS);
    dlg.SwallowEscapeAndEnter();
    dlg.show();
    dlg.GetDlgItem(IDC_PAUSE)->setFocus();
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(dlg.GetDlgItem(IDC_PAUSE), key);
        QTest::keyClick(&dlg, key);
    }
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.nCancelCount, 0);
    EXPECT_TRUE(dlg.commands.empty());
    QTest::keyClick(dlg.GetDlgItem(IDC_PAUSE), Qt::Key_Space);
    EXPECT_EQ(dlg.commands, std::vector<int>{IDC_PAUSE});
}

TEST(TemplateDialog, AcceleratorsCallOnCommand)
{
    TestApplication();
    CRecordingDialog dlg(IDD_MAIN);
    dlg.LoadAccelerators(IDR_MAIN_ACCELERATORS);
    dlg.show();
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    dlg.GetDlgItem(IDC_FILELIST)->setFocus();
    QTest::keyClick(dlg.GetDlgItem(IDC_FILELIST), Qt::Key_F6);
    QTest::keyClick(dlg.GetDlgItem(IDC_FILELIST), Qt::Key_F3, Qt::ShiftModifier);
    QTest::keyClick(dlg.GetDlgItem(IDC_FILELIST), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(dlg.commands, (std::vector<int>{ID_ADD_FILES, ID_CONVERT_SELECTED, ID_OPTIONS}));
}

TEST(TemplateDialog, TheFirstControlThatTakesTheFocusGetsItWhenShown)
{
    TestApplication();
    CTemplateDialog options(IDD_OPTIONS);
    options.show();
    options.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&options));
    EXPECT_EQ(options.focusWidget(), options.GetDlgItem(IDC_OK));
    // Tab follows the template's order, skipping the disabled edit.
    QTest::keyClick(options.focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(options.focusWidget(), options.GetDlgItem(IDC_BROWSE));
}

TEST(TemplateDialog, UnknownTemplateIsRefused)
{
    TestApplication();
    EXPECT_THROW(CTemplateDialog dlg(4242), std::invalid_argument);
}

}  // namespace

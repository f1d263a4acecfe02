// The Options dialog driven as a user would: it edits the settings in memory,
// OK adds the folder's "/", Cancel changes nothing, Reset restores the defaults
// at once and refreshes the status bar's summary.
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>
#include <gtest/gtest.h>

#include "resources/Resource.h"
#include "settings/ConversionSettings.h"
#include "tests/support/TempHome.h"
#include "tests/support_qt/QtTestApp.h"
#include "tests/support_qt/ScriptedMessageBoxes.h"
#include "tests/ui_options/ModalDriver.h"
#include "ui/Option.h"

namespace fs = std::filesystem;

namespace {

const QStringList kFrequencyTexts = {
    " Automatic (Fastest & Optimal Way, Recommended)",
    "   8000 Hertz",
    " 11025 Hertz",
    " 12000 Hertz",
    " 16000 Hertz",
    " 22050 Hertz",
    " 24000 Hertz",
    " 32000 Hertz",
    " 44100 Hertz",
};

const QStringList kChannelTexts = {" Automatic (Fastest & Optimal Way, Recommended)", " Mono", " Stereo"};

const QStringList kBitrateTexts = {
    "   8 kbits per second", "  16 kbits per second", "  24 kbits per second", "  32 kbits per second",
    "  40 kbits per second", "  48 kbits per second", "  56 kbits per second", "  64 kbits per second",
    "  80 kbits per second", "  96 kbits per second", " 112 kbits per second", " 128 kbits per second",
    " 160 kbits per second", " 192 kbits per second", " 224 kbits per second", " 256 kbits per second",
    " 320 kbits per second",
};

QStringList Items(const QComboBox& combo)
{
    QStringList items;
    for (int i = 0; i < combo.count(); ++i)
        items << combo.itemText(i);
    return items;
}

QComboBox& Combo(const COption& dlg, int nId)
{
    auto* pCombo = dlg.GetDlgItemAs<QComboBox>(nId);
    EXPECT_NE(pCombo, nullptr);
    return *pCombo;
}

void Click(const COption& dlg, int nId)
{
    auto* pButton = dlg.GetDlgItemAs<QPushButton>(nId);
    ASSERT_NE(pButton, nullptr);
    pButton->click();
}

struct StoredSettings
{
    std::string outputFolder;
    int frequencyIndex;
    int channelMode;
    int bitrateIndex;

    static StoredSettings Current()
    {
        return {g_settings.outputFolder, g_settings.frequencyIndex, g_settings.channelMode, g_settings.bitrateIndex};
    }
    bool operator==(const StoredSettings&) const = default;
};

void PrintTo(const StoredSettings& s, std::ostream* pOut)
{
    *pOut << "{" << s.outputFolder << ", " << s.frequencyIndex << ", " << s.channelMode << ", " << s.bitrateIndex << "}";
}

class OptionTest : public testing::Test
{
protected:
    OptionTest()
    {
        TestApplication();
        g_settings = ConversionSettings{};
        InitSettingsStore();
        SetSettingsSummaryReceiver([this](const std::string& strText) { m_summaries.push_back(strText); });
    }
    ~OptionTest() override { SetSettingsSummaryReceiver({}); }

    void SetStored(const std::string& strFolder, int nFrequency, int nChannel, int nBitrate)
    {
        g_settings.outputFolder = strFolder;
        g_settings.frequencyIndex = static_cast<int16_t>(nFrequency);
        g_settings.channelMode = static_cast<int16_t>(nChannel);
        g_settings.bitrateIndex = static_cast<int16_t>(nBitrate);
    }

    // Opens the dialog modally and runs fn once it shows.
    int RunOptions(std::function<void(COption&)> fn)
    {
        COption dlg;
        WhenModalShown<COption>(std::move(fn));
        return dlg.DoModal();
    }

    CTempHome m_home;
    CScriptedMessageBoxes m_boxes;
    std::vector<std::string> m_summaries;
};

TEST_F(OptionTest, OpensWithDefaultsAndRelabelledRows)
{
    QWidget* pFocus = nullptr;
    COption dlg;
    WhenModalShown<COption>([&](COption& shown) {
        pFocus = shown.focusWidget();
        static_cast<QDialog&>(shown).reject();
    });
    EXPECT_EQ(dlg.DoModal(), IDC_CANCEL);

    const QString strDefault = QString::fromStdString(DefaultOutputFolder());
    EXPECT_TRUE(strDefault.endsWith('/'));
    EXPECT_EQ(dlg.GetDlgItemText(IDC_OUTPUT_FOLDER), strDefault);
    EXPECT_FALSE(dlg.GetDlgItem(IDC_OUTPUT_FOLDER)->isEnabled());
    EXPECT_TRUE(dlg.GetDlgItem(IDC_BROWSE)->isEnabled());
    EXPECT_EQ(pFocus, dlg.GetDlgItem(IDC_OK));

    EXPECT_EQ(dlg.GetDlgItemText(IDC_FREQUENCY_LABEL), "Sampling Frequency:");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_SECOND_LABEL), "Channel Mode:");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_THIRD_LABEL), "Bits per Second:");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_BITRATE_NOTE), "NOTE: The Bitrate is Estimated  for Stereo 44100 Hz.");
    EXPECT_FALSE(dlg.GetDlgItem(IDC_BITRATE_NOTE)->isHidden());

    EXPECT_EQ(Items(Combo(dlg, IDC_FREQUENCY)), kFrequencyTexts);
    EXPECT_EQ(Items(Combo(dlg, IDC_CHANNEL_MODE)), kChannelTexts);
    EXPECT_EQ(Items(Combo(dlg, IDC_BITRATE)), kBitrateTexts);
    EXPECT_EQ(Combo(dlg, IDC_FREQUENCY).currentIndex(), 0);
    EXPECT_EQ(Combo(dlg, IDC_CHANNEL_MODE).currentIndex(), 0);
    EXPECT_EQ(Combo(dlg, IDC_BITRATE).currentText(), " 128 kbits per second");
}

TEST_F(OptionTest, SelectionsAreTheStoredIndices)
{
    SetStored("/music/", 8, 2, 16);
    RunOptions([](COption& dlg) {
        EXPECT_EQ(Combo(dlg, IDC_FREQUENCY).currentText(), " 44100 Hertz");
        EXPECT_EQ(Combo(dlg, IDC_CHANNEL_MODE).currentText(), " Stereo");
        EXPECT_EQ(Combo(dlg, IDC_BITRATE).currentText(), " 320 kbits per second");
        Combo(dlg, IDC_FREQUENCY).setCurrentIndex(3);
        Combo(dlg, IDC_CHANNEL_MODE).setCurrentIndex(1);
        Combo(dlg, IDC_BITRATE).setCurrentIndex(0);
        Click(dlg, IDC_OK);
    });
    EXPECT_EQ(StoredSettings::Current(), (StoredSettings{"/music/", 3, 1, 0}));
}

TEST_F(OptionTest, IndexOutsideListLeavesBoxUnselectedAndOkKeepsIt)
{
    for (const int nOutside : {-1, 99}) {
        SCOPED_TRACE(nOutside);
        SetStored("/music/", nOutside, nOutside, nOutside);
        EXPECT_EQ(RunOptions([](COption& dlg) {
                      for (int nId : {IDC_FREQUENCY, IDC_CHANNEL_MODE, IDC_BITRATE})
                          EXPECT_EQ(Combo(dlg, nId).currentIndex(), -1) << nId;
                      Click(dlg, IDC_OK);
                  }),
                  IDC_OK);
        EXPECT_EQ(StoredSettings::Current(), (StoredSettings{"/music/", nOutside, nOutside, nOutside}));
    }
}

TEST_F(OptionTest, OkAddsTheFolderSlashOnlyWhenMissing)
{
    const struct
    {
        const char* pszStored;
        const char* pszAfterOk;
    } kCases[] = {
        {"/srv/music", "/srv/music/"},
        {"/srv/music/", "/srv/music/"},
        {"/", "/"},
        {"/srv/with space\\and backslash", "/srv/with space\\and backslash/"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.pszStored);
        SetStored(c.pszStored, 0, 0, 11);
        RunOptions([](COption& dlg) { Click(dlg, IDC_OK); });
        EXPECT_EQ(g_settings.outputFolder, c.pszAfterOk);
    }
}

TEST_F(OptionTest, ChosenFolderIsShownThenStoredWithSlashOnOk)
{
    const fs::path stored = m_home.MakeDir("stored");
    const fs::path chosen = m_home.MakeDir("chosen");
    SetStored(stored.string() + "/", 0, 0, 11);

    QString strFirstOpenedAt;
    QString strSecondOpenedAt;
    QString strTitle;
    RunOptions([&](COption& dlg) {
        WhenModalShown<QFileDialog>([&](QFileDialog& chooser) {
            strTitle = chooser.windowTitle();
            strFirstOpenedAt = chooser.directory().absolutePath();
            chooser.setDirectory(QString::fromStdString(chosen.string()));
            static_cast<QDialog&>(chooser).accept();
        });
        Click(dlg, IDC_BROWSE);
        EXPECT_EQ(dlg.GetDlgItemText(IDC_OUTPUT_FOLDER), QString::fromStdString(chosen.string()));
        // Nothing is stored before OK, and the chooser opens at the stored folder.
        EXPECT_EQ(g_settings.outputFolder, stored.string() + "/");
        WhenModalShown<QFileDialog>([&](QFileDialog& chooser) {
            strSecondOpenedAt = chooser.directory().absolutePath();
            chooser.reject();
        });
        Click(dlg, IDC_BROWSE);
        EXPECT_EQ(dlg.GetDlgItemText(IDC_OUTPUT_FOLDER), QString::fromStdString(chosen.string()));
        Click(dlg, IDC_OK);
    });
    EXPECT_EQ(strTitle, "Specify the Output Folder");
    EXPECT_EQ(strFirstOpenedAt, QString::fromStdString(stored.string()));
    EXPECT_EQ(strSecondOpenedAt, QString::fromStdString(stored.string()));
    EXPECT_EQ(g_settings.outputFolder, chosen.string() + "/");
}

TEST_F(OptionTest, EmptyFolderIsRefusedAndDialogStaysOpen)
{
    SetStored("", 2, 1, 5);
    bool bStillOpen = false;
    EXPECT_EQ(RunOptions([&](COption& dlg) {
                  Click(dlg, IDC_OK);
                  bStillOpen = dlg.isVisible();
                  Click(dlg, IDC_CANCEL);
              }),
              IDC_CANCEL);
    EXPECT_TRUE(bStillOpen);
    const auto boxes = m_boxes.Asked();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].strText, "Invalidate Output Folder!");
    EXPECT_EQ(boxes[0].nType, unsigned(MB_OK | MB_ICONERROR));
    EXPECT_EQ(StoredSettings::Current(), (StoredSettings{"", 2, 1, 5}));
}

TEST_F(OptionTest, CancelChangesNothing)
{
    const fs::path chosen = m_home.MakeDir("chosen");
    SetStored("/srv/music/", 4, 2, 9);
    const StoredSettings before = StoredSettings::Current();
    EXPECT_EQ(RunOptions([&](COption& dlg) {
                  WhenModalShown<QFileDialog>([&](QFileDialog& chooser) {
                      chooser.setDirectory(QString::fromStdString(chosen.string()));
                      static_cast<QDialog&>(chooser).accept();
                  });
                  Click(dlg, IDC_BROWSE);
                  Combo(dlg, IDC_FREQUENCY).setCurrentIndex(1);
                  Combo(dlg, IDC_BITRATE).setCurrentIndex(16);
                  Click(dlg, IDC_CANCEL);
              }),
              IDC_CANCEL);
    EXPECT_EQ(StoredSettings::Current(), before);
    EXPECT_TRUE(m_summaries.empty());
}

class OptionResetTest : public OptionTest
{
protected:
    OptionResetTest()
    {
        SetStored("/srv/music/", 5, 1, 2);
        EXPECT_EQ(SaveSettings(), 1);
        EXPECT_TRUE(fs::exists(SettingsFilePath()));
        m_strChangedSummary = SettingsSummaryText();
    }

    std::string m_strChangedSummary;
};

TEST_F(OptionResetTest, YesDeletesFileAndRestoresDefaultsAtOnce)
{
    m_boxes.PushAnswer(IDYES);
    const StoredSettings defaults{DefaultOutputFolder(), 0, 0, 11};
    StoredSettings shownAfterReset;
    size_t nSummariesDuringDialog = 0;
    EXPECT_EQ(RunOptions([&](COption& dlg) {
                  Combo(dlg, IDC_CHANNEL_MODE).setCurrentIndex(2);
                  Click(dlg, IDC_RESET);
                  EXPECT_TRUE(dlg.isVisible());
                  shownAfterReset = {dlg.GetDlgItemText(IDC_OUTPUT_FOLDER).toStdString(),
                                     Combo(dlg, IDC_FREQUENCY).currentIndex(),
                                     Combo(dlg, IDC_CHANNEL_MODE).currentIndex(),
                                     Combo(dlg, IDC_BITRATE).currentIndex()};
                  // The lists are rebuilt, not appended to.
                  EXPECT_EQ(Items(Combo(dlg, IDC_BITRATE)), kBitrateTexts);
                  EXPECT_EQ(dlg.GetDlgItemText(IDC_THIRD_LABEL), "Bits per Second:");
                  nSummariesDuringDialog = m_summaries.size();
                  Click(dlg, IDC_CANCEL);
              }),
              IDC_CANCEL);

    const auto boxes = m_boxes.Asked();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].strText, "Reset ALL Options, Are You Sure?");
    EXPECT_EQ(boxes[0].nType, unsigned(MB_YESNO | MB_ICONWARNING));

    EXPECT_EQ(shownAfterReset, defaults);
    // Cancel does not undo the reset, and the file stays absent until the
    // main window saves.
    EXPECT_EQ(StoredSettings::Current(), defaults);
    EXPECT_FALSE(fs::exists(SettingsFilePath()));
    // The status bar shows the defaults at once.
    ASSERT_EQ(nSummariesDuringDialog, 1u);
    EXPECT_NE(m_summaries[0], m_strChangedSummary);
    EXPECT_EQ(m_summaries[0], SettingsSummaryText());
}

TEST_F(OptionResetTest, NoChangesNothing)
{
    m_boxes.PushAnswer(IDNO);
    const StoredSettings before = StoredSettings::Current();
    size_t nSummariesDuringDialog = 1;
    RunOptions([&](COption& dlg) {
        Click(dlg, IDC_RESET);
        EXPECT_EQ(Combo(dlg, IDC_FREQUENCY).currentIndex(), 5);
        EXPECT_EQ(dlg.GetDlgItemText(IDC_OUTPUT_FOLDER), "/srv/music/");
        nSummariesDuringDialog = m_summaries.size();
        Click(dlg, IDC_CANCEL);
    });
    EXPECT_EQ(m_boxes.Asked().size(), 1u);
    EXPECT_EQ(nSummariesDuringDialog, 0u);
    EXPECT_EQ(StoredSettings::Current(), before);
    EXPECT_TRUE(fs::exists(SettingsFilePath()));
}

}  // namespace

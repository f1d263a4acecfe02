#include "ui/Option.h"

#include <QComboBox>
#include <filesystem>
#include <system_error>

#include "platform/Format.h"
#include "platform/MessageBox.h"
#include "resources/Resource.h"
#include "settings/ConversionSettings.h"
#include "ui/FolderDialog.h"

namespace {

// By frequencyIndex; the numbers are right-aligned in the list.
constexpr const char* kFrequencyItems[kFrequencyCount] = {
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

// By channelMode.
constexpr const char* kChannelItems[] = {
    " Automatic (Fastest & Optimal Way, Recommended)",
    " Mono",
    " Stereo",
};

// An index outside the list leaves the box without a selection.
void SelectIndex(QComboBox& combo, int nIndex)
{
    combo.setCurrentIndex(nIndex >= 0 && nIndex < combo.count() ? nIndex : -1);
}

// The selected index, or the stored one when nothing is selected.
int16_t SelectedOr(const QComboBox& combo, int16_t nStored)
{
    const int nIndex = combo.currentIndex();
    return nIndex < 0 ? nStored : static_cast<int16_t>(nIndex);
}

}  // namespace

COption::COption(QWidget* pParent)
    : CTemplateDialog(IDD_OPTIONS, pParent),
      m_pFrequency(GetDlgItemAs<QComboBox>(IDC_FREQUENCY)),
      m_pChannelMode(GetDlgItemAs<QComboBox>(IDC_CHANNEL_MODE)),
      m_pBitrate(GetDlgItemAs<QComboBox>(IDC_BITRATE))
{
}

void COption::OnInitDialog()
{
    GetDlgItem(IDC_BROWSE)->setEnabled(true);
    SetDlgItemText(IDC_OUTPUT_FOLDER, QString::fromStdString(g_settings.outputFolder));

    m_pFrequency->clear();
    for (const char* pszItem : kFrequencyItems)
        m_pFrequency->addItem(QString::fromUtf8(pszItem));

    m_pChannelMode->clear();
    m_pBitrate->clear();
    GetDlgItem(IDC_BITRATE_NOTE)->show();
    // The template's labels name the rows in another order than the boxes.
    SetDlgItemText(IDC_SECOND_LABEL, "Channel Mode:");
    SetDlgItemText(IDC_THIRD_LABEL, "Bits per Second:");

    for (const char* pszItem : kChannelItems)
        m_pChannelMode->addItem(QString::fromUtf8(pszItem));
    for (int nKbps : BitrateTable)
        m_pBitrate->addItem(QString::fromStdString(StringFormat("%4d kbits per second", nKbps)));

    SelectIndex(*m_pFrequency, g_settings.frequencyIndex);
    SelectIndex(*m_pChannelMode, g_settings.channelMode);
    SelectIndex(*m_pBitrate, g_settings.bitrateIndex);
}

void COption::OnCommand(int nId)
{
    if (nId == IDC_BROWSE)
        OnBrowse();
    else if (nId == IDC_RESET)
        OnReset();
    else
        CTemplateDialog::OnCommand(nId);
}

void COption::OnBrowse()
{
    // Opens at the stored folder, not at one chosen a moment ago.
    CFolderDialog dlg("Specify the Output Folder", QString::fromStdString(g_settings.outputFolder), this);
    if (dlg.DoModal() == IDOK)
        SetDlgItemText(IDC_OUTPUT_FOLDER, dlg.m_szSelectedPath);
}

void COption::OnOK()
{
    std::string strFolder = GetDlgItemText(IDC_OUTPUT_FOLDER).toStdString();
    if (strFolder.empty()) {
        ShowMessageBox("Invalidate Output Folder!", kMessageBoxCaption, MB_OK | MB_ICONERROR);
        return;
    }
    if (strFolder.back() != '/')
        strFolder += '/';
    g_settings.outputFolder = strFolder;
    g_settings.frequencyIndex = SelectedOr(*m_pFrequency, g_settings.frequencyIndex);
    g_settings.channelMode = SelectedOr(*m_pChannelMode, g_settings.channelMode);
    g_settings.bitrateIndex = SelectedOr(*m_pBitrate, g_settings.bitrateIndex);
    EndDialog(IDOK);
}

void COption::OnReset()
{
    if (ShowMessageBox("Reset ALL Options, Are You Sure?", kMessageBoxCaption, MB_YESNO | MB_ICONWARNING) != IDYES)
        return;
    // A file that cannot be deleted is read back below instead.
    std::error_code ec;
    std::filesystem::remove(SettingsFilePath(), ec);
    LoadSettings();
    OnInitDialog();
    UpdateSettingsSummary();
}

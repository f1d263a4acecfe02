#pragma once
#include "platform/qt/TemplateDialog.h"

class QComboBox;

// The Options dialog: output folder, sampling frequency, channel mode and
// bitrate. It edits g_settings in memory only (the main window saves them when
// it closes); Reset deletes "Config.ini" and restores the defaults at once.
// The position of each combo box item is the stored index.
class COption : public CTemplateDialog
{
    Q_OBJECT

public:
    explicit COption(QWidget* pParent = nullptr);

protected:
    void OnInitDialog() override;
    void OnCommand(int nId) override;
    void OnOK() override;

private:
    void OnBrowse();
    void OnReset();

    QComboBox* m_pFrequency;
    QComboBox* m_pChannelMode;
    QComboBox* m_pBitrate;
};

#pragma once
#include "platform/qt/TemplateDialog.h"

class CHyperLink;

// The product's homepage, shown and opened by the About box.
inline constexpr char kHomepageUrl[] = "https://kestrune.org/";

// The About box: icon, name and a link to the homepage. Its title bar offers
// no close button; OK (or Escape) closes it.
class CAboutDlg : public CTemplateDialog
{
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* pParent = nullptr);

    CHyperLink* HomepageLink() const { return m_pHomepage; }

protected:
    void OnInitDialog() override;
    void OnClose() override;

private:
    CHyperLink* m_pHomepage = nullptr;
};

#include "ui/AboutDlg.h"

#include <QLabel>

#include "resources/Resource.h"
#include "ui/controls/HyperLink.h"

namespace {

// The template's hyperlink control becomes a CHyperLink; everything else is
// built as usual.
QWidget* MakeHyperLink(const DialogControl& control, QWidget* pParent)
{
    if (control.kind != ControlKind::Hyperlink)
        return nullptr;
    auto* pLink = new CHyperLink(pParent);
    pLink->setTextFormat(Qt::PlainText);
    pLink->setText(QString::fromUtf8(control.pszText));
    pLink->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return pLink;
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* pParent)
    : CTemplateDialog(IDD_ABOUTBOX, pParent, MakeHyperLink),
      m_pHomepage(GetDlgItemAs<CHyperLink>(IDC_HOMEPAGE))
{
    // The close button stays inactive; the frame keeps its caption.
    setWindowFlag(Qt::WindowCloseButtonHint, false);
}

void CAboutDlg::OnInitDialog()
{
    // Set before attaching, so the empty control shows the address.
    m_pHomepage->SetLinkTarget(QString::fromLatin1(kHomepageUrl));
    m_pHomepage->Attach();
}

void CAboutDlg::OnClose()
{
    // The title bar's close is disabled: closing the frame does nothing.
}

#include "tests/support_qt/ScriptedMessageBoxes.h"

#include <QCoreApplication>
#include <QThread>

#include "platform/qt/QtMessageBox.h"

CScriptedMessageBoxes::CScriptedMessageBoxes()
{
    m_fnPrevious = InstallQtMessageBoxes([this](const QString& strText, const QString& strCaption, unsigned nType) {
        const bool bOnUiThread =
            QCoreApplication::instance() && QThread::currentThread() == QCoreApplication::instance()->thread();
        std::lock_guard lock(m_mutex);
        m_asked.push_back({strText.toStdString(), strCaption.toStdString(), nType, bOnUiThread});
        if (m_answers.empty()) {
            const unsigned nButtons = nType & 0xF;
            return (nButtons == MB_YESNO || nButtons == MB_YESNOCANCEL) ? int(IDYES) : int(IDOK);
        }
        const int nAnswer = m_answers.front();
        m_answers.pop_front();
        return nAnswer;
    });
}

CScriptedMessageBoxes::~CScriptedMessageBoxes()
{
    SetMessageBoxHandler(std::move(m_fnPrevious));
}

void CScriptedMessageBoxes::PushAnswer(int nAnswer)
{
    std::lock_guard lock(m_mutex);
    m_answers.push_back(nAnswer);
}

std::vector<CScriptedMessageBoxes::Box> CScriptedMessageBoxes::Asked() const
{
    std::lock_guard lock(m_mutex);
    return m_asked;
}

#pragma once
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "platform/MessageBox.h"

// Scripted answers for the program's message boxes, for the life of the
// object. Boxes go through the Qt layer's handler (InstallQtMessageBoxes), so
// a box asked from a worker is answered on the user-interface thread, which
// the test must be pumping. Each box takes the next queued answer; with none
// left it gets the first button of its set (IDOK or IDYES).
class CScriptedMessageBoxes
{
public:
    struct Box
    {
        std::string strText;
        std::string strCaption;
        unsigned nType;
        bool bOnUiThread;  // answered on the QApplication's thread
    };

    CScriptedMessageBoxes();
    ~CScriptedMessageBoxes();
    CScriptedMessageBoxes(const CScriptedMessageBoxes&) = delete;
    CScriptedMessageBoxes& operator=(const CScriptedMessageBoxes&) = delete;

    void PushAnswer(int nAnswer);
    std::vector<Box> Asked() const;

private:
    mutable std::mutex m_mutex;
    std::deque<int> m_answers;
    std::vector<Box> m_asked;
    MessageBoxHandler m_fnPrevious;
};

#include "ui/controls/WindowPlacementStore.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <vector>

#include "platform/qt/ProfileStore.h"

namespace {

void Put(uint8_t*& p, uint32_t nValue)
{
    for (int i = 0; i < 4; ++i)
        *p++ = static_cast<uint8_t>(nValue >> (8 * i));
}

uint32_t Take(const uint8_t*& p)
{
    uint32_t nValue = 0;
    for (int i = 0; i < 4; ++i)
        nValue |= static_cast<uint32_t>(*p++) << (8 * i);
    return nValue;
}

// The section's unnamed value: the show mode shared by all windows.
constexpr char kShowModeName[] = "";

}  // namespace

std::array<uint8_t, WindowPlacement::kSize> WindowPlacement::ToBytes() const
{
    std::array<uint8_t, kSize> bytes{};
    uint8_t* p = bytes.data();
    for (uint32_t nValue : {length, flags, showCmd})
        Put(p, nValue);
    for (int32_t nValue : {minX, minY, maxX, maxY, normalLeft, normalTop, normalRight, normalBottom})
        Put(p, static_cast<uint32_t>(nValue));
    return bytes;
}

WindowPlacement WindowPlacement::FromBytes(const std::array<uint8_t, kSize>& bytes)
{
    const uint8_t* p = bytes.data();
    WindowPlacement wp;
    for (uint32_t* pField : {&wp.length, &wp.flags, &wp.showCmd})
        *pField = Take(p);
    for (int32_t* pField : {&wp.minX, &wp.minY, &wp.maxX, &wp.maxY, &wp.normalLeft, &wp.normalTop, &wp.normalRight,
                            &wp.normalBottom})
        *pField = static_cast<int32_t>(Take(p));
    return wp;
}

WindowPlacement WindowPlacementStore::ReadPlacement(const QWidget* pWindow)
{
    WindowPlacement wp;
    wp.length = WindowPlacement::kSize;
    const Qt::WindowStates state = pWindow->windowState();
    if (state & Qt::WindowMinimized) {
        wp.showCmd = WindowPlacement::kShowMinimized;
        if (state & Qt::WindowMaximized)
            wp.flags = WindowPlacement::kRestoreToMaximized;
    } else if (state & Qt::WindowMaximized) {
        wp.showCmd = WindowPlacement::kShowMaximized;
    } else {
        wp.showCmd = WindowPlacement::kShowNormal;
    }
    // Qt keeps no minimised or maximised positions; the platform reports
    // (-1, -1) for those it never set.
    wp.minX = wp.minY = wp.maxX = wp.maxY = -1;
    QRect normal = pWindow->normalGeometry();
    if (!normal.isValid())
        normal = pWindow->geometry();
    wp.normalLeft = normal.left();
    wp.normalTop = normal.top();
    wp.normalRight = normal.left() + normal.width();
    wp.normalBottom = normal.top() + normal.height();
    return wp;
}

void WindowPlacementStore::ApplyPlacement(QWidget* pWindow, const WindowPlacement& wp)
{
    // The normal rectangle is set in the normal state, so that it is the one a
    // maximised or minimised window returns to.
    pWindow->setWindowState(Qt::WindowNoState);
    pWindow->setGeometry(wp.normalLeft, wp.normalTop, wp.normalRight - wp.normalLeft,
                         wp.normalBottom - wp.normalTop);
    switch (wp.showCmd) {
    case WindowPlacement::kShowMaximized:
        pWindow->setWindowState(Qt::WindowMaximized);
        break;
    case WindowPlacement::kShowMinimized:
        pWindow->setWindowState(Qt::WindowMinimized | ((wp.flags & WindowPlacement::kRestoreToMaximized)
                                                          ? Qt::WindowMaximized
                                                          : Qt::WindowNoState));
        break;
    default:
        break;
    }
}

std::optional<WindowPlacement> WindowPlacementStore::ReadStored(const std::string& strKey,
                                                                const std::string& strSection)
{
    std::vector<uint8_t> data;
    if (!ProfileStore::GetBinary(strSection, strKey, data) || data.size() != WindowPlacement::kSize)
        return std::nullopt;
    std::array<uint8_t, WindowPlacement::kSize> bytes;
    std::copy(data.begin(), data.end(), bytes.begin());
    const WindowPlacement wp = WindowPlacement::FromBytes(bytes);
    if (wp.length != WindowPlacement::kSize)
        return std::nullopt;
    return wp;
}

uint32_t WindowPlacementStore::AdjustedShowCommand(const WindowPlacement& wp) const
{
    switch (m_nShowMode) {
    case 1: return wp.showCmd;
    case 2: return WindowPlacement::kShowNormal;
    case 3: return WindowPlacement::kShowMaximized;
    case 4: return WindowPlacement::kShowMinimized;
    default:
        // A window closed while minimised reopens as it was before.
        if (wp.showCmd == WindowPlacement::kShowMinimized)
            return (wp.flags & WindowPlacement::kRestoreToMaximized) ? WindowPlacement::kShowMaximized
                                                                     : WindowPlacement::kShowNormal;
        return wp.showCmd;
    }
}

bool WindowPlacementStore::Restore(QWidget* pWindow, const std::string& strKey, const std::string& strSection)
{
    if (pWindow == nullptr)
        return false;
    if (m_bFirstRestore) {
        m_bFirstRestore = false;
        m_wpDefault = ReadPlacement(pWindow);
        if (const QScreen* pScreen = QGuiApplication::primaryScreen()) {
            // Centred on the primary screen, which need not start at (0, 0).
            const QRect screen = pScreen->geometry();
            const int32_t nScreenW = screen.width();
            const int32_t nScreenH = screen.height();
            const int32_t w = m_wpDefault.normalRight - m_wpDefault.normalLeft;
            const int32_t h = m_wpDefault.normalBottom - m_wpDefault.normalTop;
            m_wpDefault.normalLeft = screen.x() + (nScreenW - w) / 2;
            m_wpDefault.normalRight = screen.x() + (w + nScreenW) / 2;
            m_wpDefault.normalTop = screen.y() + (nScreenH - h) / 2;
            m_wpDefault.normalBottom = screen.y() + (h + nScreenH) / 2;
        }
        m_nShowMode = ProfileStore::GetInt(strSection, kShowModeName, 0);
    }
    const std::optional<WindowPlacement> stored = ReadStored(strKey, strSection);
    if (!stored) {
        m_wpCurrent = m_wpDefault;
        return false;
    }
    m_wpCurrent = *stored;
    m_wpCurrent.showCmd = AdjustedShowCommand(m_wpCurrent);
    ApplyPlacement(pWindow, m_wpCurrent);
    return true;
}

bool WindowPlacementStore::Save(QWidget* pWindow, const std::string& strKey, const std::string& strSection)
{
    if (pWindow == nullptr)
        return false;
    m_wpCurrent = ReadPlacement(pWindow);
    const auto bytes = m_wpCurrent.ToBytes();
    if (!ProfileStore::WriteBinary(strSection, strKey, bytes.data(), bytes.size()))
        return false;
    return ProfileStore::WriteInt(strSection, kShowModeName, m_nShowMode);
}

void WindowPlacementStore::ApplyDefault(QWidget* pWindow)
{
    // Before the first restore there is no default to apply.
    if (pWindow != nullptr && m_wpDefault.length == WindowPlacement::kSize)
        ApplyPlacement(pWindow, m_wpDefault);
}

#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>

class QWidget;

// A window's position, size and show state in the platform's 44-byte
// placement layout, so stored profiles read the same everywhere.
struct WindowPlacement
{
    uint32_t length = 0;
    uint32_t flags = 0;
    uint32_t showCmd = 0;
    int32_t minX = 0, minY = 0;
    int32_t maxX = 0, maxY = 0;
    int32_t normalLeft = 0, normalTop = 0, normalRight = 0, normalBottom = 0;

    static constexpr uint32_t kSize = 44;
    // Show commands, and the flag that a minimised window returns maximised.
    static constexpr uint32_t kShowNormal = 1;
    static constexpr uint32_t kShowMinimized = 2;
    static constexpr uint32_t kShowMaximized = 3;
    static constexpr uint32_t kRestoreToMaximized = 2;

    bool operator==(const WindowPlacement&) const = default;

    // Little-endian, field by field.
    std::array<uint8_t, kSize> ToBytes() const;
    static WindowPlacement FromBytes(const std::array<uint8_t, kSize>& bytes);
};

// Reads and writes a top-level window's placement in the per-user profile, so
// each window reopens where the user left it. The section's unnamed value, the
// show mode, is shared by every window.
class WindowPlacementStore
{
public:
    // Applies the placement stored under strKey; false (window untouched) when
    // none is stored or the stored record is not a placement record.
    bool Restore(QWidget* pWindow, const std::string& strKey, const std::string& strSection);
    // Stores the window's placement and the show mode; true when both were written.
    bool Save(QWidget* pWindow, const std::string& strKey, const std::string& strSection);
    // Applies the window's first placement, centred on the primary screen.
    void ApplyDefault(QWidget* pWindow);

    // The placement of a window as the platform would report it, and its inverse.
    static WindowPlacement ReadPlacement(const QWidget* pWindow);
    static void ApplyPlacement(QWidget* pWindow, const WindowPlacement& wp);

    int ShowMode() const { return m_nShowMode; }
    const WindowPlacement& Current() const { return m_wpCurrent; }
    const WindowPlacement& Default() const { return m_wpDefault; }

private:
    static std::optional<WindowPlacement> ReadStored(const std::string& strKey, const std::string& strSection);
    uint32_t AdjustedShowCommand(const WindowPlacement& wp) const;

    int m_nShowMode = 0;
    WindowPlacement m_wpCurrent;
    WindowPlacement m_wpDefault;
    bool m_bFirstRestore = true;
};

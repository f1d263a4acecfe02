#include "batch/ProgressText.h"

#include "platform/Format.h"

float CapPercent(float fPercent)
{
    return fPercent > 100.0f ? 100.0f : fPercent;
}

std::string FormatPercent(float fPercent)
{
    return StringFormat("%5.2lf%%", static_cast<double>(CapPercent(fPercent)));
}

double SpeedRatio(double dAudioSeconds, double dWallSeconds)
{
    return dWallSeconds > 0.0 ? dAudioSeconds / dWallSeconds : 0.0;
}

std::string FormatSpeed(double dAudioSeconds, double dWallSeconds)
{
    return StringFormat(" %5.2fx", SpeedRatio(dAudioSeconds, dWallSeconds));
}

double RemainingSeconds(double dElapsedSeconds, float fPercent)
{
    const double dPercent = CapPercent(fPercent);
    return dPercent > 0.0 ? (100.0 - dPercent) * dElapsedSeconds / dPercent : 0.0;
}

std::string FormatLogNumber(int nLine)
{
    return StringFormat("%03d", nLine);
}

std::string FormatLogTime(std::time_t tNow)
{
    std::tm local{};
    if (!::localtime_r(&tNow, &local))
        return "-1:-1:-1";
    return StringFormat("%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
}

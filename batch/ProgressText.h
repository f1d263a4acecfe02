#pragma once
#include <ctime>
#include <string>

#include "filelist/FileListTotals.h"  // FormatHms

// Texts that the progress window and the terminal front end show alike.

// Percentages can end slightly above 100: both displays cap them.
float CapPercent(float fPercent);

// "%5.2lf%%" of the capped percentage.
std::string FormatPercent(float fPercent);

// Seconds of audio per second of wall-clock time; 0 before any time passed.
double SpeedRatio(double dAudioSeconds, double dWallSeconds);

// " %5.2fx" of the speed ratio.
std::string FormatSpeed(double dAudioSeconds, double dWallSeconds);

// Linear extrapolation of the time left from the time spent and the
// percentage done; 0 when nothing is done yet.
double RemainingSeconds(double dElapsedSeconds, float fPercent);

// A log line's number ("%03d") and local time ("%02d:%02d:%02d", -1 for a
// field that cannot be converted).
std::string FormatLogNumber(int nLine);
std::string FormatLogTime(std::time_t tNow);

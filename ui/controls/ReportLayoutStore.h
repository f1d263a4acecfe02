#pragma once
#include <string>

class CReportCtrl;

// Keeps a report list's column layout ("Column") and sort keys ("SortEx") in
// the per-user profile.
void SaveReportLayout(const CReportCtrl& list, const std::string& strSection);

// Called once the columns are inserted with their default widths: gives them
// their stored widths, hides those stored as hidden and appends the stored
// sort keys ({column 0, ascending} when none are stored). Does not sort.
void RestoreReportLayout(CReportCtrl& list, const std::string& strSection);

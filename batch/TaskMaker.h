#pragma once
#include <string>

#include "engine/ConvRunState.h"
#include "filelist/AudioFileInfo.h"
#include "settings/ConversionSettings.h"

// The task for one valid probed entry: source strFolder + strName, destination
// in the output folder of g_settings, automatic rate and channels resolved.
CConversionTask MakeConversionTask(const std::string& strFolder, const std::string& strName,
                                   const AudioFileInfo& info);

// The MP3 file name for a source file name: the extension replaced by "mp3".
std::string DestinationFileName(const std::string& strName);

// Appends the task to the batch and adds its expected samples to the total.
void AddConversionTask(CConvRunState& runState, CConversionTask task);

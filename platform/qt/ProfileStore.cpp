#include "platform/qt/ProfileStore.h"

#include <QByteArray>
#include <QDir>
#include <QSettings>
#include <QString>
#include <mutex>

#include "platform/FileSystem.h"
#include "platform/KnownFolders.h"

namespace {

std::mutex g_nameMutex;
std::string g_strProfileName;

QString Key(const std::string& strSection, const std::string& strName)
{
    return QString::fromStdString(strSection) + "/" + QString::fromStdString(strName);
}

QSettings OpenProfile()
{
    return QSettings(QString::fromStdString(ProfileStore::ProfileFilePath()), QSettings::IniFormat);
}

bool Commit(QSettings& settings)
{
    settings.sync();
    return settings.status() == QSettings::NoError;
}

}  // namespace

namespace ProfileStore {

void SetProfileName(const std::string& strName)
{
    std::lock_guard lock(g_nameMutex);
    g_strProfileName = strName;
}

std::string ProfileFilePath()
{
    std::string strName;
    {
        std::lock_guard lock(g_nameMutex);
        strName = g_strProfileName.empty() ? ExecutableBaseName() : g_strProfileName;
    }
    return ::ConfigHome() + "/Dovanic Corporation/Kestrune/" + strName + ".conf";
}

bool GetBinary(const std::string& strSection, const std::string& strName, std::vector<uint8_t>& data)
{
    QSettings settings = OpenProfile();
    const QVariant value = settings.value(Key(strSection, strName));
    if (!value.isValid())
        return false;
    const QByteArray bytes = value.toByteArray();
    data.assign(bytes.begin(), bytes.end());
    return true;
}

bool WriteBinary(const std::string& strSection, const std::string& strName, const void* pData, size_t nBytes)
{
    QSettings settings = OpenProfile();
    settings.setValue(Key(strSection, strName),
                      QByteArray(static_cast<const char*>(pData), static_cast<qsizetype>(nBytes)));
    return Commit(settings);
}

int GetInt(const std::string& strSection, const std::string& strName, int nDefault)
{
    QSettings settings = OpenProfile();
    bool bOk = false;
    const int nValue = settings.value(Key(strSection, strName)).toInt(&bOk);
    return bOk ? nValue : nDefault;
}

bool WriteInt(const std::string& strSection, const std::string& strName, int nValue)
{
    QSettings settings = OpenProfile();
    settings.setValue(Key(strSection, strName), nValue);
    return Commit(settings);
}

std::string GetString(const std::string& strSection, const std::string& strName, const std::string& strDefault)
{
    QSettings settings = OpenProfile();
    const QVariant value = settings.value(Key(strSection, strName));
    return value.isValid() ? value.toString().toStdString() : strDefault;
}

bool WriteString(const std::string& strSection, const std::string& strName, const std::string& strValue)
{
    QSettings settings = OpenProfile();
    settings.setValue(Key(strSection, strName), QString::fromStdString(strValue));
    return Commit(settings);
}

}  // namespace ProfileStore

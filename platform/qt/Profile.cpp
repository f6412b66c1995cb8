#include "platform/Profile.h"

#include <QSettings>
#include <QStandardPaths>
#include <limits>

#include "platform/qt/QtText.h"

namespace ui {
namespace {

// Named explicitly: the store must not follow the executable's name.
QSettings OpenStore() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quillmore"),
                     QStringLiteral("Tarnel Manager"));
}

QString Key(std::u16string_view section, std::u16string_view entry) {
    return ToQString(section) + QLatin1Char('/') + ToQString(entry);
}

bool Store(std::u16string_view section, std::u16string_view entry, const QVariant& value) {
    QSettings store = OpenStore();
    if (!store.isWritable()) return false;
    store.setValue(Key(section, entry), value);
    store.sync();
    return store.status() == QSettings::NoError;
}

}  // namespace

int GetProfileInt(std::u16string_view section, std::u16string_view entry, int defaultValue) {
    const QVariant value = OpenStore().value(Key(section, entry));
    bool ok = false;
    qlonglong number = 0;
    switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
            number = value.toLongLong(&ok);
            break;
        case QMetaType::QString:
            number = value.toString().trimmed().toLongLong(&ok, 10);
            break;
        default:
            return defaultValue;
    }
    if (!ok || number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
        return defaultValue;
    return static_cast<int>(number);
}

std::u16string GetProfileString(std::u16string_view section, std::u16string_view entry,
                                std::u16string_view defaultValue) {
    const QVariant value = OpenStore().value(Key(section, entry));
    if (value.typeId() != QMetaType::QString) return std::u16string(defaultValue);
    return FromQString(value.toString());
}

bool WriteProfileInt(std::u16string_view section, std::u16string_view entry, int value) {
    return Store(section, entry, value);
}

bool WriteProfileString(std::u16string_view section, std::u16string_view entry, std::u16string_view value) {
    return Store(section, entry, ToQString(value));
}

void SetProfileDirectory(const std::string& directory) {
    const QString path = directory.empty()
                             ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                             : QString::fromStdString(directory);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path);
}

}  // namespace ui

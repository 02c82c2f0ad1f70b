#include "widgets/qt_icons.h"

#include <QFile>

static void InitialiseBuiltInIcons()
{
    // The icons live in a static library; the resource must be registered by hand.
    Q_INIT_RESOURCE(kestrelyn);
}

namespace kv {

QIcon LoadIcon(const std::filesystem::path& dataDirectory, std::string_view name)
{
    static const bool initialised = (InitialiseBuiltInIcons(), true);
    (void)initialised;
    const QString fileName = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())) + ".svg";
    if (!dataDirectory.empty()) {
        const QString installed = QString::fromStdString((dataDirectory / "icons").string()) + "/" + fileName;
        if (QFile::exists(installed))
            return QIcon(installed);
    }
    return QIcon(":/icons/" + fileName);
}

QIcon ProgramIcon(const std::filesystem::path& dataDirectory)
{
    return LoadIcon(dataDirectory, "kestrelyn-vormaplex");
}

} // namespace kv

#include "platform/qt/QtFileTypes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>
#include <QTextStream>
#include <QTimer>

namespace movra {

namespace {

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QString XmlEscaped(const QString& text) { return text.toHtmlEscaped(); }

// A desktop entry's Exec argument, quoted by the desktop entry rules.
QString QuotedExec(const QString& path) {
    QString quoted;
    for (QChar c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
    }
    // A literal "%" must be doubled in Exec.
    quoted.replace('%', QStringLiteral("%%"));
    return '"' + quoted + '"';
}

bool WriteWhole(const QString& path, const QByteArray& content) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(content);
    return file.commit();
}

// Starts a desktop cache tool when it is there, without waiting for it; its absence or failure is
// no failure of ours.
void StartIfPresent(const QString& tool, const QStringList& arguments) {
    const QString program = QStandardPaths::findExecutable(tool);
    if (!program.isEmpty()) QProcess::startDetached(program, arguments);
}

// The caches of a data folder are rebuilt once after the registrations of one start, when the
// event loop runs (the main window is up by then); without an event loop, at once.
void RefreshDesktopCaches(const QString& root) {
    static QStringList pending;
    auto run = [](const QString& folder) {
        StartIfPresent(QStringLiteral("update-mime-database"), {folder + QStringLiteral("/mime")});
        StartIfPresent(QStringLiteral("update-desktop-database"), {folder + QStringLiteral("/applications")});
    };
    if (!QCoreApplication::instance()) {
        run(root);
        return;
    }
    if (pending.contains(root)) return;
    pending << root;
    QTimer::singleShot(0, QCoreApplication::instance(), [root, run] {
        pending.removeAll(root);
        run(root);
    });
}

// The icon of a type in the hicolor theme: a scalable picture as it is, any other as a 48-pixel
// PNG. A missing or unreadable icon leaves the type without one.
void InstallIcon(const QString& root, const QString& iconName, const QString& source) {
    const QFileInfo file(source);
    if (!file.isFile()) return;
    if (file.suffix().compare(QStringLiteral("svg"), Qt::CaseInsensitive) == 0) {
        QFile svg(source);
        if (svg.open(QIODevice::ReadOnly))
            WriteWhole(root + QStringLiteral("/icons/hicolor/scalable/mimetypes/") + iconName + QStringLiteral(".svg"),
                       svg.readAll());
        return;
    }
    QImage icon(source);
    if (icon.isNull()) return;
    QString iconPath = root + QStringLiteral("/icons/hicolor/48x48/mimetypes/") + iconName + QStringLiteral(".png");
    QDir().mkpath(QFileInfo(iconPath).absolutePath());
    icon.scaled(48, 48, Qt::KeepAspectRatio, Qt::SmoothTransformation).save(iconPath, "PNG");
}

QStringList MimeTypesListed(const QString& desktopFile) {
    QFile file(desktopFile);
    if (!file.open(QIODevice::ReadOnly)) return {};
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
        if (line.startsWith(QStringLiteral("MimeType=")))
            return line.mid(9).trimmed().split(';', Qt::SkipEmptyParts);
    }
    return {};
}

}  // namespace

QString QtFileTypes::DataRoot() {
    QByteArray configured = qgetenv("XDG_DATA_HOME");
    if (!configured.isEmpty() && QDir::isAbsolutePath(QString::fromLocal8Bit(configured)))
        return QString::fromLocal8Bit(configured);
    return QDir::homePath() + QStringLiteral("/.local/share");
}

QString QtFileTypes::MimeTypeOf(const std::string& extension) {
    QString bare = FromUtf8(extension).toLower();
    if (bare.startsWith('.')) bare.remove(0, 1);
    return QStringLiteral("application/x-movra-") + bare;
}

bool QtFileTypes::Register(const FileTypeRegistration& registration) {
    // The extension and the type name become file names: only plain letters and digits pass.
    static const QRegularExpression extensionPattern(QStringLiteral("^\\.[A-Za-z0-9]{1,16}$"));
    static const QRegularExpression namePattern(QStringLiteral("^[A-Za-z0-9_-]{1,64}$"));
    QString extension = FromUtf8(registration.extension);
    QString typeName = FromUtf8(registration.typeName);
    if (!extensionPattern.match(extension).hasMatch() || !namePattern.match(typeName).hasMatch()) return false;

    QString root = DataRoot();
    QString mimeType = MimeTypeOf(registration.extension);
    QString iconName = QString(mimeType).replace('/', '-');
    QString glob = QStringLiteral("*") + extension.toLower();

    QString package;
    QTextStream xml(&package);
    xml << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
        << "  <mime-type type=\"" << mimeType << "\">\n"
        << "    <comment>" << XmlEscaped(FromUtf8(registration.description)) << "</comment>\n"
        << "    <icon name=\"" << iconName << "\"/>\n"
        << "    <glob pattern=\"" << glob << "\"/>\n";
    if (extension.toLower() != extension) xml << "    <glob pattern=\"*" << extension << "\"/>\n";
    xml << "  </mime-type>\n</mime-info>\n";
    if (!WriteWhole(root + QStringLiteral("/mime/packages/movra-") + typeName + QStringLiteral(".xml"),
                    package.toUtf8()))
        return false;

    // One desktop entry serves every type: the types registered before stay listed.
    QString desktopPath = root + QStringLiteral("/applications/movra.desktop");
    QStringList types = MimeTypesListed(desktopPath);
    if (!types.contains(mimeType)) types << mimeType;
    QString entry;
    QTextStream desktop(&entry);
    desktop << "[Desktop Entry]\n"
            << "Type=Application\n"
            << "Name=Movra\n"
            << "Exec=" << QuotedExec(FromUtf8(registration.programPath)) << " %f\n"
            << "Icon=" << iconName << "\n"
            << "Terminal=false\n"
            << "Categories=Graphics;Engineering;\n"
            << "MimeType=" << types.join(';') << ";\n";
    if (!WriteWhole(desktopPath, entry.toUtf8())) return false;

    InstallIcon(root, iconName, FromUtf8(registration.iconPath));
    RefreshDesktopCaches(root);
    return true;
}

}  // namespace movra

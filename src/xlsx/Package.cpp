#include "xlsx/Package.h"

#include <QDir>
#include <QFileInfo>
#include <QIODevice>
#include <QSet>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <zlib.h>

namespace Xlsx {

namespace {

const QString kContentTypes = QStringLiteral("[Content_Types].xml");

// a template is a few hundred kilobytes; anything unpacking to this much is no template
constexpr qint64 kMaxUnpacked = qint64(512) << 20;

// The parts written in one go compress at zlib's usual level; long worksheets at the fastest,
// which costs a tenth in size and saves half the time.
constexpr int kSmallPartLevel = Z_DEFAULT_COMPRESSION;
constexpr int kStreamedPartLevel = 1;

// Hands the zip library's writes through to the file and keeps the reason of the first that
// fails: the library seeks on after a failure, which clears the file's own error.
class ErrorKeeper : public QIODevice
{
public:
    explicit ErrorKeeper(QIODevice &target) : m_target(target) { QIODevice::open(QIODevice::WriteOnly); }
    QString firstError() const { return m_error; }
    bool isSequential() const override { return m_target.isSequential(); }
    qint64 size() const override { return m_target.size(); }
    bool seek(qint64 pos) override { return QIODevice::seek(pos) && m_target.seek(pos); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 length) override
    {
        // a short write is tried on: only the one that fails outright says why
        qint64 done = 0;
        while (done < length) {
            const qint64 written = m_target.write(data + done, length - done);
            if (written <= 0) {
                if (m_error.isEmpty())
                    m_error = m_target.errorString();
                return done > 0 ? done : -1;
            }
            done += written;
        }
        return done;
    }

private:
    QIODevice &m_target;
    QString m_error;
};

} // namespace

Package::ReadError Package::read(const QString &path)
{
    m_parts.clear();
    if (!QFileInfo(path).isFile())
        return ReadError::NotFound;
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip))
        return ReadError::NotZip;
    qint64 total = 0;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFileInfo64 info;
        if (!zip.getCurrentFileInfo(&info))
            return ReadError::Damaged;
        if (info.name.endsWith(u'/'))
            continue;   // a folder entry
        total += qint64(info.uncompressedSize);
        if (total > kMaxUnpacked)
            return ReadError::TooLarge;
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::ReadOnly))
            return ReadError::Damaged;
        QByteArray bytes = file.readAll();
        file.close();
        // close() checks the CRC of what was read
        if (file.getZipError() != UNZ_OK || bytes.size() != qint64(info.uncompressedSize))
            return ReadError::Damaged;
        QString name = info.name;
        while (name.startsWith(u'/'))
            name.remove(0, 1);
        m_parts.emplace_back(name, std::move(bytes));
    }
    if (zip.getZipError() != UNZ_OK)
        return ReadError::Damaged;
    return ReadError::None;
}

bool Package::has(const QString &name) const
{
    for (const auto &p : m_parts)
        if (p.first.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QByteArray Package::part(const QString &name) const
{
    // part names compare without case, as the packaging rules have it
    for (const auto &p : m_parts)
        if (p.first.compare(name, Qt::CaseInsensitive) == 0)
            return p.second;
    return {};
}

void Package::setPart(const QString &name, const QByteArray &bytes)
{
    for (auto &p : m_parts)
        if (p.first.compare(name, Qt::CaseInsensitive) == 0) {
            p.second = bytes;
            return;
        }
    m_parts.emplace_back(name, bytes);
}

void Package::removePart(const QString &name)
{
    std::erase_if(m_parts, [&](const auto &p) { return p.first.compare(name, Qt::CaseInsensitive) == 0; });
}

QStringList Package::names() const
{
    QStringList out;
    for (const auto &p : m_parts)
        out << p.first;
    return out;
}

QString Package::RelsName(const QString &source)
{
    const qsizetype slash = source.lastIndexOf(u'/');
    return source.left(slash + 1) + QStringLiteral("_rels/") + source.mid(slash + 1) + QStringLiteral(".rels");
}

QString ResolveTarget(const QString &source, const QString &target)
{
    QString path;
    if (target.startsWith(u'/')) {
        path = target.mid(1);
    } else {
        const qsizetype slash = source.lastIndexOf(u'/');
        path = source.left(slash + 1) + target;
    }
    // "xl/worksheets/../drawings/drawing1.xml" → "xl/drawings/drawing1.xml"
    QStringList out;
    for (const QString &segment : path.split(u'/')) {
        if (segment == QLatin1String(".."))
            out.isEmpty() ? void() : out.removeLast();
        else if (!segment.isEmpty() && segment != QLatin1String("."))
            out << segment;
    }
    return out.join(u'/');
}

QString RelativeTarget(const QString &source, const QString &name)
{
    const qsizetype slash = source.lastIndexOf(u'/');
    const QString from = slash < 0 ? QString() : source.left(slash);
    return QDir(QLatin1Char('/') + from).relativeFilePath(QLatin1Char('/') + name);
}

std::vector<Relationship> Package::relationships(const QString &source) const
{
    std::vector<Relationship> out;
    const std::optional<XmlNode> root = ParseXml(part(RelsName(source)));
    if (!root)
        return out;
    for (const XmlNode &r : root->children) {
        if (r.kind != XmlNode::Element || r.localName() != QLatin1String("Relationship"))
            continue;
        Relationship rel{r.attribute(u"Id"), r.attribute(u"Type"), r.attribute(u"Target"), false};
        rel.external = r.attribute(u"TargetMode").compare(QLatin1String("External"), Qt::CaseInsensitive) == 0;
        if (!rel.external)
            rel.target = ResolveTarget(source, rel.target);
        out.push_back(rel);
    }
    return out;
}

std::optional<Relationship> Package::firstRelationship(const QString &source, const char *type) const
{
    for (const Relationship &r : relationships(source))
        if (r.type == QLatin1String(type) && !r.external)
            return r;
    return std::nullopt;
}

QString Package::addRelationship(const QString &source, const char *type, const QString &target)
{
    const QString relsName = RelsName(source);
    XmlNode root = ParseXml(part(relsName))
                       .value_or(XmlNode::element(QStringLiteral("Relationships"),
                                                  {{QStringLiteral("xmlns"), QLatin1String(Types::kRelationshipsNs)}}));
    QSet<QString> ids;
    for (const XmlNode &r : root.children)
        if (r.kind == XmlNode::Element)
            ids.insert(r.attribute(u"Id"));
    int n = int(ids.size()) + 1;
    while (ids.contains(QStringLiteral("rId%1").arg(n)))
        ++n;
    const QString id = QStringLiteral("rId%1").arg(n);
    root.append(XmlNode::element(root.qualified(u"Relationship"), {{QStringLiteral("Id"), id},
                                                                   {QStringLiteral("Type"), QLatin1String(type)},
                                                                   {QStringLiteral("Target"), RelativeTarget(source, target)}}));
    setPart(relsName, WriteXml(root));
    if (contentType(relsName).isEmpty())
        setContentType(relsName, QLatin1String(Types::kRelationshipsPart));
    return id;
}

void Package::removeRelationship(const QString &source, const QString &id)
{
    const QString relsName = RelsName(source);
    std::optional<XmlNode> root = ParseXml(part(relsName));
    if (!root)
        return;
    std::erase_if(root->children, [&](const XmlNode &r) { return r.kind == XmlNode::Element && r.attribute(u"Id") == id; });
    setPart(relsName, WriteXml(*root));
}

void Package::removePartTree(const QString &name)
{
    if (!has(name))
        return;
    const std::vector<Relationship> below = relationships(name);
    removePart(name);
    removePart(RelsName(name));
    std::optional<XmlNode> types = ParseXml(part(kContentTypes));
    if (types) {
        std::erase_if(types->children, [&](const XmlNode &t) {
            return t.localName() == QLatin1String("Override")
                   && t.attribute(u"PartName").mid(1).compare(name, Qt::CaseInsensitive) == 0;
        });
        setPart(kContentTypes, WriteXml(*types));
    }
    // what only this part used goes with it; a part another one still refers to stays
    for (const Relationship &r : below) {
        if (r.external)
            continue;
        bool used = false;
        for (const auto &p : m_parts)
            if (p.first.endsWith(QLatin1String(".rels")) && p.second.contains(QFileInfo(r.target).fileName().toUtf8()))
                used = true;
        if (!used)
            removePartTree(r.target);
    }
}

QString Package::contentType(const QString &name) const
{
    const std::optional<XmlNode> types = ParseXml(part(kContentTypes));
    if (!types)
        return {};
    const QString partName = QLatin1Char('/') + name;
    const QString extension = QFileInfo(name).suffix();
    QString byExtension;
    for (const XmlNode &t : types->children) {
        if (t.localName() == QLatin1String("Override") && t.attribute(u"PartName").compare(partName, Qt::CaseInsensitive) == 0)
            return t.attribute(u"ContentType");
        if (t.localName() == QLatin1String("Default") && t.attribute(u"Extension").compare(extension, Qt::CaseInsensitive) == 0)
            byExtension = t.attribute(u"ContentType");
    }
    return byExtension;
}

void Package::setContentType(const QString &name, const QString &type)
{
    XmlNode types = ParseXml(part(kContentTypes))
                        .value_or(XmlNode::element(QStringLiteral("Types"),
                                                   {{QStringLiteral("xmlns"), QLatin1String(Types::kContentTypesNs)}}));
    const QString partName = QLatin1Char('/') + name;
    for (XmlNode &t : types.children)
        if (t.localName() == QLatin1String("Override") && t.attribute(u"PartName").compare(partName, Qt::CaseInsensitive) == 0) {
            t.setAttribute(QStringLiteral("ContentType"), type);
            setPart(kContentTypes, WriteXml(types));
            return;
        }
    types.append(XmlNode::element(types.qualified(u"Override"),
                                  {{QStringLiteral("PartName"), partName}, {QStringLiteral("ContentType"), type}}));
    setPart(kContentTypes, WriteXml(types));
}

QString Package::freeName(const QString &stem, const QString &suffix) const
{
    for (int n = 1;; ++n) {
        const QString name = stem + QString::number(n) + suffix;
        if (!has(name))
            return name;
    }
}

bool Package::write(QIODevice &device, const std::vector<std::pair<QString, Producer>> &producers, QString *error) const
{
    ErrorKeeper keeper(device);
    auto fail = [&](const QString &reason) {
        if (error && error->isEmpty())
            *error = keeper.firstError().isEmpty() ? reason : keeper.firstError();
        return false;
    };
    QuaZip zip(&keeper);
    zip.setAutoClose(false);
    // the device can seek: sizes go into the headers, as every reader expects
    zip.setDataDescriptorWritingEnabled(false);
    bool utf8 = false;
    for (const auto &p : m_parts)
        for (QChar c : p.first)
            utf8 = utf8 || c.unicode() > 0x7f;
    zip.setUtf8Enabled(utf8);
    if (!zip.open(QuaZip::mdCreate))
        return fail(device.errorString());
    const QDateTime stamp = QDateTime::currentDateTime();
    auto put = [&](QuaZipFile &file, const QByteArray &bytes) { return file.write(bytes) == bytes.size(); };
    auto writeOne = [&](const QString &name, int level, const std::function<bool(QuaZipFile &)> &fill) {
        QuaZipNewInfo info(name);
        info.dateTime = stamp;
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::WriteOnly, info, nullptr, 0, Z_DEFLATED, level))
            return fail(device.errorString());
        const bool filled = fill(file);
        file.close();
        if (!filled || file.getZipError() != ZIP_OK)
            return fail(device.errorString());
        return true;
    };
    QSet<QString> produced;
    for (const auto &p : producers)
        produced.insert(p.first.toLower());
    // the content types first: some readers look for them there
    std::vector<const std::pair<QString, QByteArray> *> order;
    for (const auto &p : m_parts)
        if (p.first == kContentTypes)
            order.insert(order.begin(), &p);
        else if (!produced.contains(p.first.toLower()))
            order.push_back(&p);
    for (const auto *p : order) {
        const bool ok = writeOne(p->first, kSmallPartLevel,
                                 [&](QuaZipFile &file) { return put(file, p->second); });
        if (!ok)
            return false;
    }
    for (const auto &[name, produce] : producers) {
        const bool ok = writeOne(name, kStreamedPartLevel, [&](QuaZipFile &file) {
            return produce([&](const QByteArray &bytes) { return put(file, bytes); });
        });
        if (!ok)
            return false;
    }
    zip.close();
    if (zip.getZipError() != ZIP_OK)
        return fail(device.errorString());
    return true;
}

} // namespace Xlsx

#include "xlsx/XmlNode.h"

#include <QXmlStreamReader>

namespace Xlsx {

XmlNode XmlNode::element(const QString &name, QList<std::pair<QString, QString>> attributes)
{
    XmlNode node;
    node.name = name;
    node.attributes = std::move(attributes);
    return node;
}

XmlNode XmlNode::textNode(const QString &text)
{
    XmlNode node;
    node.kind = Text;
    node.text = text;
    return node;
}

QStringView XmlNode::localName() const
{
    const qsizetype colon = name.indexOf(u':');
    return colon < 0 ? QStringView(name) : QStringView(name).mid(colon + 1);
}

QString XmlNode::prefix() const
{
    const qsizetype colon = name.indexOf(u':');
    return colon < 0 ? QString() : name.left(colon);
}

QString XmlNode::qualified(QStringView local) const
{
    const QString p = prefix();
    return p.isEmpty() ? local.toString() : p + u':' + local.toString();
}

QString XmlNode::attribute(QStringView attributeName) const
{
    for (const auto &[key, value] : attributes)
        if (key == attributeName)
            return value;
    return {};
}

bool XmlNode::hasAttribute(QStringView attributeName) const
{
    for (const auto &attribute : attributes)
        if (attribute.first == attributeName)
            return true;
    return false;
}

void XmlNode::setAttribute(const QString &attributeName, const QString &value)
{
    for (auto &attribute : attributes)
        if (attribute.first == attributeName) {
            attribute.second = value;
            return;
        }
    attributes.append({attributeName, value});
}

void XmlNode::removeAttribute(QStringView attributeName)
{
    attributes.removeIf([&](const auto &attribute) { return attribute.first == attributeName; });
}

int XmlNode::indexOf(QStringView local, int from) const
{
    for (int i = qMax(0, from); i < int(children.size()); ++i)
        if (children[std::size_t(i)].kind == Element && children[std::size_t(i)].localName() == local)
            return i;
    return -1;
}

XmlNode *XmlNode::child(QStringView local)
{
    const int i = indexOf(local);
    return i < 0 ? nullptr : &children[std::size_t(i)];
}

const XmlNode *XmlNode::child(QStringView local) const
{
    const int i = indexOf(local);
    return i < 0 ? nullptr : &children[std::size_t(i)];
}

std::vector<XmlNode *> XmlNode::elements(QStringView local)
{
    std::vector<XmlNode *> out;
    for (XmlNode &c : children)
        if (c.kind == Element && c.localName() == local)
            out.push_back(&c);
    return out;
}

XmlNode &XmlNode::append(XmlNode node)
{
    children.push_back(std::move(node));
    return children.back();
}

XmlNode &XmlNode::insert(int index, XmlNode node)
{
    index = qBound(0, index, int(children.size()));
    return *children.insert(children.begin() + index, std::move(node));
}

XmlNode &XmlNode::ensureChild(QStringView local)
{
    if (XmlNode *existing = child(local))
        return *existing;
    return append(element(qualified(local)));
}

QString XmlNode::innerText() const
{
    if (kind == Text || kind == CData)
        return text;
    QString out;
    for (const XmlNode &c : children)
        if (c.kind == Element || c.kind == Text || c.kind == CData)
            out += c.innerText();
    return out;
}

std::optional<XmlNode> ParseXml(const QByteArray &bytes)
{
    QXmlStreamReader reader(bytes);
    // prefixes stay as written; declarations are attributes like any other
    reader.setNamespaceProcessing(false);
    std::vector<XmlNode> open;
    std::optional<XmlNode> root;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement: {
            if (root)
                return std::nullopt;    // a second root
            XmlNode node = XmlNode::element(reader.qualifiedName().toString());
            const QXmlStreamAttributes attributes = reader.attributes();
            node.attributes.reserve(attributes.size());
            for (const QXmlStreamAttribute &a : attributes)
                node.attributes.append({a.qualifiedName().toString(), a.value().toString()});
            open.push_back(std::move(node));
            break;
        }
        case QXmlStreamReader::EndElement: {
            XmlNode done = std::move(open.back());
            open.pop_back();
            if (open.empty())
                root = std::move(done);
            else
                open.back().children.push_back(std::move(done));
            break;
        }
        case QXmlStreamReader::Characters: {
            if (open.empty())
                break;      // whitespace around the root
            XmlNode node = XmlNode::textNode(reader.text().toString());
            if (reader.isCDATA())
                node.kind = XmlNode::CData;
            open.back().children.push_back(std::move(node));
            break;
        }
        case QXmlStreamReader::Comment:
        case QXmlStreamReader::ProcessingInstruction: {
            if (open.empty())
                break;
            XmlNode node;
            node.kind = reader.tokenType() == QXmlStreamReader::Comment ? XmlNode::Comment : XmlNode::Instruction;
            node.name = reader.processingInstructionTarget().toString();
            node.text = reader.tokenType() == QXmlStreamReader::Comment ? reader.text().toString()
                                                                         : reader.processingInstructionData().toString();
            open.back().children.push_back(std::move(node));
            break;
        }
        case QXmlStreamReader::DTD:
        case QXmlStreamReader::EntityReference:
            // a package part has no document type; entities of one are not expanded
            return std::nullopt;
        default:
            break;
        }
    }
    if (reader.hasError() || !root)
        return std::nullopt;
    return root;
}

void AppendEscaped(QByteArray &out, QStringView text, bool attribute)
{
    // plain text goes through in one piece; only the characters XML treats specially are split out
    qsizetype plain = 0;
    auto flush = [&](qsizetype upTo) {
        if (upTo > plain)
            out += text.mid(plain, upTo - plain).toUtf8();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const char *replacement = nullptr;
        bool drop = false;
        switch (c) {
        case u'&': replacement = "&amp;"; break;
        case u'<': replacement = "&lt;"; break;
        case u'>': replacement = "&gt;"; break;
        case u'"': replacement = attribute ? "&quot;" : nullptr; break;
        case u'\r': replacement = "&#13;"; break;
        case u'\n': replacement = attribute ? "&#10;" : nullptr; break;
        case u'\t': replacement = attribute ? "&#9;" : nullptr; break;
        default:
            drop = c < 0x20 || c == 0xFFFE || c == 0xFFFF
                   || (QChar::isHighSurrogate(c) && !(i + 1 < text.size() && text[i + 1].isLowSurrogate()))
                   || (QChar::isLowSurrogate(c) && !(i > 0 && text[i - 1].isHighSurrogate()));
            break;
        }
        if (!replacement && !drop)
            continue;
        flush(i);
        if (replacement)
            out += replacement;
        plain = i + 1;
    }
    flush(text.size());
}

void AppendStartTag(QByteArray &out, const XmlNode &node)
{
    out += '<';
    out += node.name.toUtf8();
    for (const auto &[key, value] : node.attributes) {
        out += ' ';
        out += key.toUtf8();
        out += "=\"";
        AppendEscaped(out, value, true);
        out += '"';
    }
    out += '>';
}

void AppendXml(QByteArray &out, const XmlNode &node)
{
    switch (node.kind) {
    case XmlNode::Text:
        AppendEscaped(out, node.text);
        return;
    case XmlNode::CData:
        out += "<![CDATA[";
        out += node.text.toUtf8();
        out += "]]>";
        return;
    case XmlNode::Comment:
        out += "<!--";
        out += node.text.toUtf8();
        out += "-->";
        return;
    case XmlNode::Instruction:
        out += "<?";
        out += node.name.toUtf8();
        if (!node.text.isEmpty()) {
            out += ' ';
            out += node.text.toUtf8();
        }
        out += "?>";
        return;
    case XmlNode::Element:
        break;
    }
    AppendStartTag(out, node);
    if (node.children.empty()) {
        // "<x/>" rather than "<x></x>"
        out.chop(1);
        out += "/>";
        return;
    }
    for (const XmlNode &c : node.children)
        AppendXml(out, c);
    out += "</";
    out += node.name.toUtf8();
    out += '>';
}

QByteArray WriteXml(const XmlNode &root)
{
    QByteArray out = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
    AppendXml(out, root);
    return out;
}

} // namespace Xlsx

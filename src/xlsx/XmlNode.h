#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

namespace Xlsx {

// One node of a small XML part, kept as written: qualified names with their prefixes, the
// attributes in their order (namespace declarations among them), whitespace, comments. What
// is read and written back unchanged is the same XML, which another program's extensions rely on.
struct XmlNode
{
    enum Kind : quint8 { Element, Text, CData, Comment, Instruction };
    Kind kind = Element;
    QString name;               // "c:ser"; an instruction's target
    QList<std::pair<QString, QString>> attributes;
    QString text;               // text, comment, instruction data
    std::vector<XmlNode> children;

    static XmlNode element(const QString &name, QList<std::pair<QString, QString>> attributes = {});
    static XmlNode textNode(const QString &text);

    // the name without its prefix: "ser" for "c:ser"
    QStringView localName() const;
    QString prefix() const;     // "c" for "c:ser", empty without one

    QString attribute(QStringView name) const;
    bool hasAttribute(QStringView name) const;
    void setAttribute(const QString &name, const QString &value);
    void removeAttribute(QStringView name);

    // child elements by local name
    XmlNode *child(QStringView localName);
    const XmlNode *child(QStringView localName) const;
    int indexOf(QStringView localName, int from = 0) const;
    std::vector<XmlNode *> elements(QStringView localName);
    XmlNode &append(XmlNode node);
    XmlNode &insert(int index, XmlNode node);
    // a child element with `localName`, appended (named with this element's prefix) when missing
    XmlNode &ensureChild(QStringView localName);

    // the text of this element and all below it
    QString innerText() const;
    // "p:name" with this element's prefix
    QString qualified(QStringView localName) const;
};

// The root element of an XML document; nothing when it is not well-formed XML.
std::optional<XmlNode> ParseXml(const QByteArray &bytes);

// The document with a standalone UTF-8 declaration.
QByteArray WriteXml(const XmlNode &root);
void AppendXml(QByteArray &out, const XmlNode &node);
// The start tag only ("<row r=\"7\">"), for an element whose content is written by other means.
void AppendStartTag(QByteArray &out, const XmlNode &node);

// Text as XML character data or an attribute value; characters XML cannot hold are left out.
void AppendEscaped(QByteArray &out, QStringView text, bool attribute = false);

} // namespace Xlsx

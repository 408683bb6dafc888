#include "tool/dumpcommand.h"

#include "core/fileurl.h"
#include "core/inputfile.h"
#include "core/wdlwizard.h"
#include "inspect/sasimagereader.h"
#include "tool/toolcommand.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonObject>
#include <QTextStream>

namespace {

using Names = DumpCommand::Names;

// Offsets stand in a column of their own, fields indented below their record.
constexpr int kOffsetWidth = 8;
constexpr int kNameWidth = 28;

QString hexDigits(qint64 value, int digits)
{
    return QString::number(value, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

QString hex(qint64 value, int digits)
{
    return QStringLiteral("0x") + hexDigits(value, digits);
}

QString hexBytes(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

// Control characters, quotes and backslashes escaped as in C, so that every
// text stays on its one line.
QString escaped(const QString &text)
{
    QString out;
    for (QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '"':
            out += QStringLiteral("\\\"");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        default:
            if (c.category() == QChar::Other_Control)
                out += QStringLiteral("\\u") + hexDigits(c.unicode(), 4);
            else
                out += c;
        }
    }
    return QLatin1Char('"') + out + QLatin1Char('"');
}

QString offsetColumn(int offset, int indent)
{
    return QString(indent, QLatin1Char(' ')) + QString::number(offset).rightJustified(kOffsetWidth)
           + QStringLiteral("  ");
}

const Names::Name *nameOf(const Names *names, const QString &kind, quint16 number)
{
    return names && !kind.isEmpty() ? names->find(kind, number) : nullptr;
}

// " speed_screen pump.wdl:41" beside an item's own number.
QString itemTitle(const Names *names, const QString &kind, quint16 number)
{
    const Names::Name *name = nameOf(names, kind, number);
    return name ? QLatin1Char(' ') + name->id + QLatin1Char(' ') + name->source : QString();
}

// The operand as the image reader spells it ("param 5[1]"), the id named
// after the item's number: "param 5 (motor_power)[1]".
QString namedOperand(const QString &operand, const SasItemRef &ref, const Names *names)
{
    const Names::Name *name = nameOf(names, ref.kind, ref.number);
    const QString spelt = ref.kind + QLatin1Char(' ') + QString::number(ref.number);
    if (!name || !operand.startsWith(spelt))
        return operand;
    return spelt + QStringLiteral(" (") + name->id + QLatin1Char(')') + operand.mid(spelt.size());
}

QString fieldValue(const SasField &f, const Names *names)
{
    QString value;
    switch (f.value.type()) {
    case QVariant::ByteArray:
        value = hexBytes(f.value.toByteArray());
        break;
    case QVariant::String:
        value = escaped(f.value.toString());
        break;
    default:
        value = f.value.toString();
    }
    if (!f.meaning.isEmpty())
        value += QStringLiteral(" (") + f.meaning + QLatin1Char(')');
    if (const Names::Name *name = nameOf(names, f.itemKind, quint16(f.value.toUInt())))
        value += QStringLiteral(" (") + name->id + QLatin1Char(')');
    return value;
}

QString fieldLines(const QList<SasField> &fields, int indent, const Names *names = nullptr)
{
    QString out;
    for (const SasField &f : fields)
        out += offsetColumn(f.offset, indent) + f.name.leftJustified(kNameWidth) + fieldValue(f, names)
               + QLatin1Char('\n');
    return out;
}

QStringList operandsOf(const SasCommand &c, const Names *names)
{
    QStringList out;
    for (int k = 0; k < c.operands.size(); ++k)
        out.append(namedOperand(c.operands.at(k), c.operandItems.value(k), names));
    return out;
}

QString commandText(const SasCommand &c, const Names *names)
{
    QString out = c.mnemonic;
    if (!c.operands.isEmpty())
        out += QLatin1Char(' ') + operandsOf(c, names).join(QStringLiteral(", "));
    if (c.setupWord >= 0)
        out += QStringLiteral("  (setup word ") + hex(c.setupWord, 4) + QLatin1Char(')');
    return out;
}

QString recordsText(const SasImage &image, const Names *names)
{
    QString out = QStringLiteral("Script data: ") + QString::number(image.records.size()) + QStringLiteral(" records, ")
                  + QString::number(image.scriptDataLength) + QStringLiteral(" bytes from offset ")
                  + QString::number(image.scriptDataOffset) + QLatin1Char('\n');
    for (const SasRecord &r : image.records) {
        out += offsetColumn(r.offset, 0) + r.typeName + QLatin1Char(' ') + QString::number(r.number)
               + itemTitle(names, r.itemKind, r.number) + QStringLiteral(" (type ") + QString::number(r.type)
               + QStringLiteral(", payload ") + QString::number(r.payloadLength) + QStringLiteral(")\n");
        out += fieldLines(r.fields, 2, names);
        for (const SasCommand &c : r.commands)
            out += offsetColumn(c.offset, 2) + commandText(c, names) + QLatin1Char('\n');
    }
    return out;
}

QString dictionariesText(const SasImage &image)
{
    QString out = QStringLiteral("Dictionaries: ") + QString::number(image.dictionaries.size())
                  + QStringLiteral(" from offset ") + QString::number(image.dictionaryStart) + QLatin1Char('\n');
    for (const SasDictionary &d : image.dictionaries) {
        out += offsetColumn(d.offset, 0) + d.name + QStringLiteral(" (") + d.nativeName + QStringLiteral(", ")
               + d.localeName + QStringLiteral("): ") + QString::number(d.size) + QStringLiteral(" bytes, codec mode ")
               + QString::number(d.codecMode) + QStringLiteral(", format version ") + QString::number(d.formatVersion)
               + QLatin1Char('\n');
        out += QString(kOffsetWidth + 4, QLatin1Char(' ')) + QStringLiteral("LCID ") + hex(d.lcid, 4)
               + QStringLiteral(", language id ") + hex(d.languageId, 4) + QStringLiteral(", language number ")
               + QString::number(d.languageNumber) + QStringLiteral(", version ") + d.version
               + QStringLiteral(", product name ") + escaped(d.productName) + QLatin1Char('\n');
        out += QString(kOffsetWidth + 4, QLatin1Char(' ')) + QString::number(d.entries.size())
               + QLatin1String(d.entries.size() == 1 ? " entry" : " entries") + QLatin1Char('\n');
        for (const auto &entry : d.entries) {
            out += QString(kOffsetWidth + 4, QLatin1Char(' ')) + QString::number(entry.first).rightJustified(6)
                   + QStringLiteral("  ") + escaped(entry.second) + QLatin1Char('\n');
        }
    }
    return out;
}

QString csivText(const SasImage &image)
{
    QString out = QStringLiteral("CSIV files: ") + QString::number(image.csivFiles.size()) + QLatin1Char('\n');
    for (const SasCsivFile &f : image.csivFiles) {
        QStringList users;
        for (int at : f.commandOffsets)
            users.append(QString::number(at));
        out += offsetColumn(f.offset, 0) + escaped(f.flashName) + QStringLiteral(": ") + QString::number(f.size)
               + QStringLiteral(" bytes, named by the CSIV command")
               + (users.size() == 1 ? QString() : QStringLiteral("s")) + QStringLiteral(" at ")
               + users.join(QStringLiteral(", ")) + QLatin1Char('\n');
    }
    return out;
}

// The id and source line of a named item, added to its JSON object.
void addName(QJsonObject &o, const Names::Name *name)
{
    if (!name)
        return;
    o.insert(QStringLiteral("id"), name->id);
    o.insert(QStringLiteral("source"), name->source);
}

QJsonArray fieldsJson(const QList<SasField> &fields, const Names *names = nullptr)
{
    QJsonArray out;
    for (const SasField &f : fields) {
        QJsonObject o{{QStringLiteral("name"), f.name},
                      {QStringLiteral("offset"), f.offset},
                      {QStringLiteral("size"), f.size},
                      {QStringLiteral("value"), f.value.type() == QVariant::ByteArray
                                                    ? QJsonValue(hexBytes(f.value.toByteArray()))
                                                    : QJsonValue::fromVariant(f.value)}};
        if (!f.meaning.isEmpty())
            o.insert(QStringLiteral("meaning"), f.meaning);
        if (const Names::Name *name = nameOf(names, f.itemKind, quint16(f.value.toUInt())))
            o.insert(QStringLiteral("id"), name->id);
        out.append(o);
    }
    return out;
}

QJsonObject recordJson(const SasRecord &r, const Names *names)
{
    QJsonObject o{{QStringLiteral("offset"), r.offset},
                  {QStringLiteral("type"), r.type},
                  {QStringLiteral("typeName"), r.typeName},
                  {QStringLiteral("number"), r.number},
                  {QStringLiteral("payloadLength"), r.payloadLength},
                  {QStringLiteral("fields"), fieldsJson(r.fields, names)}};
    addName(o, nameOf(names, r.itemKind, r.number));
    if (r.type == 9) {
        QJsonArray commands;
        for (const SasCommand &c : r.commands) {
            QJsonObject command{{QStringLiteral("offset"), c.offset},
                                {QStringLiteral("code"), c.code},
                                {QStringLiteral("mnemonic"), c.mnemonic},
                                {QStringLiteral("fields"), QJsonArray{c.fields[0], c.fields[1], c.fields[2]}},
                                {QStringLiteral("operands"), QJsonArray::fromStringList(c.operands)}};
            if (c.setupWord >= 0)
                command.insert(QStringLiteral("setupWord"), c.setupWord);
            if (names) {
                QJsonArray ids;
                for (const SasItemRef &ref : c.operandItems) {
                    const Names::Name *name = nameOf(names, ref.kind, ref.number);
                    ids.append(name ? QJsonValue(name->id) : QJsonValue());
                }
                command.insert(QStringLiteral("operandIds"), ids);
            }
            commands.append(command);
        }
        o.insert(QStringLiteral("commands"), commands);
    }
    return o;
}

QJsonObject dictionaryJson(const SasDictionary &d)
{
    QJsonArray entries;
    for (const auto &entry : d.entries)
        entries.append(QJsonObject{{QStringLiteral("key"), entry.first}, {QStringLiteral("text"), entry.second}});
    const QJsonObject language{{QStringLiteral("name"), d.name},
                               {QStringLiteral("nativeName"), d.nativeName},
                               {QStringLiteral("localeName"), d.localeName},
                               {QStringLiteral("lcid"), qint64(d.lcid)},
                               {QStringLiteral("languageId"), qint64(d.languageId)},
                               {QStringLiteral("languageNumber"), qint64(d.languageNumber)},
                               {QStringLiteral("version"), d.version},
                               {QStringLiteral("productName"), d.productName}};
    return QJsonObject{{QStringLiteral("offset"), d.offset},
                       {QStringLiteral("size"), d.size},
                       {QStringLiteral("formatVersion"), d.formatVersion},
                       {QStringLiteral("codecMode"), d.codecMode},
                       {QStringLiteral("language"), language},
                       {QStringLiteral("entries"), entries}};
}

} // namespace

DumpCommand::Names DumpCommand::Names::of(WdlWizard *wizard)
{
    Names names;
    const SourcePositions &positions = wizard->sourcePositions();
    const auto add = [&](const QString &kind, const WizardItemsModel *model) {
        for (const WdlToken *item : model->items()) {
            const QString key = kind + QLatin1Char(' ') + QString::number(item->getIndex());
            const SourcePosition at = positions.at(item);
            if (!names.m_names.contains(key))
                names.m_names.insert(key, {item->id(), at.file + QLatin1Char(':') + QString::number(at.line)});
        }
    };
    add(QStringLiteral("screen"), wizard->screenModel());
    add(QStringLiteral("overlay"), wizard->overlayModel());
    add(QStringLiteral("choice list"), wizard->choicelistModel());
    // Parameters of every kind and local parameters share one sequence.
    add(QStringLiteral("param"), wizard->parametersModel());
    add(QStringLiteral("param"), wizard->localParameterModel());
    add(QStringLiteral("script"), wizard->scriptModel());
    add(QStringLiteral("filter"), wizard->filterModel());
    add(QStringLiteral("text"), wizard->textModel());
    return names;
}

const DumpCommand::Names::Name *DumpCommand::Names::find(const QString &kind, quint16 number) const
{
    const auto it = m_names.constFind(kind + QLatin1Char(' ') + QString::number(number));
    return it == m_names.cend() ? nullptr : &*it;
}

QString DumpCommand::usage()
{
    return QStringLiteral("Usage: wdltool dump [--json] [--wdl <wdl>] <sas>\n"
                          "\n"
                          "Prints a SAS image section by section: the header field by field, the\n"
                          "stored and the computed check value, every record of the script data with\n"
                          "its decoded fields and script commands, the text records, every dictionary\n"
                          "with its language and entries, and the embedded CSIV files. A damaged image\n"
                          "is dumped as far as it can be read; every problem names its offset.\n"
                          "\n"
                          "Options:\n"
                          "  --json         print the same as one JSON document\n"
                          "  --wdl <wdl>    name every numbered item by its id and source line in the\n"
                          "                 wizard the image was built from, like a linker's map\n"
                          "  -h, --help     show this help\n"
                          "\n"
                          "Exit status: 0 for a sound image, 1 when the image is damaged or cannot be\n"
                          "read, 2 for a usage error.\n");
}

QString DumpCommand::text(const SasImage &image, const QString &path, const Names *names)
{
    QString out = QStringLiteral("SAS image ") + path + QStringLiteral(": ") + QString::number(image.size)
                  + QStringLiteral(" bytes\n\nHeader\n");
    out += fieldLines(image.header, 0);
    if (!image.header.isEmpty()) {
        out += QStringLiteral("\nCheck value: stored ") + hex(image.storedCheckValue, 4) + QStringLiteral(", computed ")
               + hex(image.computedCheckValue, 4)
               + (image.checkValuesAgree() ? QStringLiteral(": they agree\n") : QStringLiteral(": they DIFFER\n"));
        out += QLatin1Char('\n') + recordsText(image, names);
        out += QStringLiteral("\nText records: ") + QString::number(image.texts.size())
               + QStringLiteral(" from offset ") + QString::number(image.textRecordsOffset) + QLatin1Char('\n');
        for (const SasTextRecord &t : image.texts) {
            out += offsetColumn(t.offset, 0) + QStringLiteral("text ") + QString::number(t.number)
                   + itemTitle(names, QStringLiteral("text"), t.number) + QStringLiteral(": text key ")
                   + QString::number(t.textKey) + QStringLiteral(", help key ") + QString::number(t.helpKey)
                   + QLatin1Char('\n');
        }
        out += QLatin1Char('\n') + dictionariesText(image);
        out += QLatin1Char('\n') + csivText(image);
    }
    out += QStringLiteral("\nProblems: ") + QString::number(image.problems.size()) + QLatin1Char('\n');
    for (const SasProblem &p : image.problems)
        out += offsetColumn(p.offset, 0) + p.message + QLatin1Char('\n');
    return out;
}

QJsonDocument DumpCommand::json(const SasImage &image, const QString &path, const Names *names)
{
    QJsonArray records;
    for (const SasRecord &r : image.records)
        records.append(recordJson(r, names));
    QJsonArray texts;
    for (const SasTextRecord &t : image.texts) {
        QJsonObject text{{QStringLiteral("offset"), t.offset},
                         {QStringLiteral("number"), t.number},
                         {QStringLiteral("textKey"), t.textKey},
                         {QStringLiteral("helpKey"), t.helpKey}};
        addName(text, nameOf(names, QStringLiteral("text"), t.number));
        texts.append(text);
    }
    QJsonArray dictionaries;
    for (const SasDictionary &d : image.dictionaries)
        dictionaries.append(dictionaryJson(d));
    QJsonArray csivFiles;
    for (const SasCsivFile &f : image.csivFiles) {
        QJsonArray users;
        for (int at : f.commandOffsets)
            users.append(at);
        csivFiles.append(QJsonObject{{QStringLiteral("offset"), f.offset},
                                     {QStringLiteral("size"), f.size},
                                     {QStringLiteral("flashName"), f.flashName},
                                     {QStringLiteral("commandOffsets"), users}});
    }
    QJsonArray problems;
    for (const SasProblem &p : image.problems)
        problems.append(QJsonObject{{QStringLiteral("offset"), p.offset}, {QStringLiteral("message"), p.message}});

    const QJsonObject checkValue{{QStringLiteral("stored"), image.storedCheckValue},
                                 {QStringLiteral("computed"), image.computedCheckValue},
                                 {QStringLiteral("agree"), image.checkValuesAgree()}};
    return QJsonDocument(QJsonObject{{QStringLiteral("file"), path},
                                     {QStringLiteral("size"), image.size},
                                     {QStringLiteral("header"), fieldsJson(image.header)},
                                     {QStringLiteral("checkValue"), checkValue},
                                     {QStringLiteral("scriptDataOffset"), image.scriptDataOffset},
                                     {QStringLiteral("scriptDataLength"), image.scriptDataLength},
                                     {QStringLiteral("records"), records},
                                     {QStringLiteral("textRecordsOffset"), image.textRecordsOffset},
                                     {QStringLiteral("texts"), texts},
                                     {QStringLiteral("dictionaryStart"), image.dictionaryStart},
                                     {QStringLiteral("dictionaries"), dictionaries},
                                     {QStringLiteral("csivFiles"), csivFiles},
                                     {QStringLiteral("problems"), problems}});
}

int DumpCommand::run(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    const QCommandLineOption asJson(QStringLiteral("json"));
    const QCommandLineOption wizardFile(QStringLiteral("wdl"), QString(), QStringLiteral("wdl"));
    parser.addOption(asJson);
    parser.addOption(wizardFile);
    QString path;
    const QString missing = QStringLiteral("dump needs exactly one SAS image");
    const int status = ToolCommand::parseOneFile(parser, arguments, usage(), missing, out, err, &path);
    if (status != ToolCommand::Proceed)
        return status;

    QByteArray bytes;
    QString error;
    if (!InputFile::read(path, &bytes, nullptr, &error)) {
        err << "wdltool dump: cannot read " << path << ": " << error << '\n';
        err.flush();
        return ToolCommand::Failed;
    }
    const SasImage image = SasImageReader::read(bytes);
    Names names;
    const bool named = parser.isSet(wizardFile);
    if (named) {
        const QString wdl = parser.value(wizardFile);
        WdlWizard *wizard = WdlWizard::instance();
        wizard->openWDLFile(FileUrl::fromLocalPath(wdl));
        if (wizard->isEmpty()) {
            err << "wdltool dump: cannot open " << wdl << '\n';
            err.flush();
            return ToolCommand::Failed;
        }
        // The names of a wizard with warnings may still be the image's.
        const int warnings = wizard->warningsModel()->count();
        if (warnings > 0) {
            err << "wdltool dump: " << wdl << " has " << ToolCommand::counted(warnings, "warning", "warnings")
                << "; its names may not be those of the image\n";
        }
        names = Names::of(wizard);
    }
    if (parser.isSet(asJson))
        out << QString::fromUtf8(json(image, path, named ? &names : nullptr).toJson(QJsonDocument::Indented));
    else
        out << text(image, path, named ? &names : nullptr);
    out.flush();
    for (const SasProblem &p : image.problems)
        err << path << ": offset " << p.offset << ": " << p.message << '\n';
    err.flush();
    return image.ok() ? ToolCommand::Ok : ToolCommand::Failed;
}

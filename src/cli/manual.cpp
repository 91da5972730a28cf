#include "cli/manual.h"

#include "cli/batch.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

// Text between backquotes is a literal: an option, a value, a command line.
struct Topic
{
    const char *heading;
    QStringList paragraphs;
};

QList<Topic> topics()
{
    return {
        {"Names",
         {u"Letters in names are made capitals, as the name fields do when a person types, so `--first Mary` and "
          "`--first MARY` give the same reading. A capital with an accent counts as its letter (É as E, Ü as U, "
          "Ç as C); a letter without a value in the letter tables (Ø, Æ, ß, a Greek or Cyrillic letter) is named "
          "in a sentence under the readings of the name. A client of the book is always read in capitals. "
          "`--keep-case` takes typed names exactly as given. That matters to Variduzeda Vad, whose letter tables "
          "value only capitals: there a lower-case letter counts nothing, as in text pasted into a name field."_s}},
        {"Dates",
         {u"`--month` takes the English month name in any case, its first three letters in any case, or its "
          "number 1 to 12 (`08` too, but no sign); `--day` takes the day 1 to 31, with a leading zero too (`06`). "
          "`--born YYYY-MM-DD` gives the whole birth date instead of "
          "`--month`, `--day` and `--year` (daily uses only its month and day); giving `--born` with any of those "
          "is a usage error. A month, day or year that is no entry of the program's date lists is refused with "
          "the program's own message. `--today` fixes the date the date-dependent readings use (default: the "
          "local date)."_s}},
        {"Output",
         {u"`--format json`, the default, writes the values as one compact JSON object on one line, its keys in "
          "the order listed for each command below; a key listed as appearing only in some cases is otherwise "
          "left out. `--pretty` indents the object by two spaces a level, keys in the same order. "
          "`--format text` writes the program's reading as plain text; `--format html` writes it as one "
          "self-contained web page (no pictures, style sheets or scripts from elsewhere) that keeps the "
          "reading's bold, colours and sizes."_s}},
        {"Batch files",
         {u"`--batch FILE` (or `-` for standard input) reads the subjects from a CSV file whose first row names "
          "the columns, named as the options; columns of other names are ignored, so one file can serve several "
          "commands. Fields may be quoted, with commas, doubled quotes and line breaks inside; the text is "
          "UTF-8. The name and date rules above apply to the fields, and an empty today or seed field takes "
          "`--today` or `--seed`."_s,
          u"Each data row gives one JSON line, in input order. A row that cannot be read gives "
          "`{\"row\":N,\"error\":\"...\"}`, N counting the data rows from 1, and the other rows are still read. "
          "A quote that opens a field and is never closed is such a row's error (\"a quote opened here is never "
          "closed\"), and the lines after it are read as rows again; where a quoted field carried a row over "
          "several lines, its error names them. A batch writes JSON only, one line per row, so `--pretty` is "
          "refused with it."_s,
          u"The lines come out while the file is still being read: each row is answered once it has come in, "
          "so `kestrava-cli numerology --batch - | head` answers at once and ends when `head` does, and the "
          "memory a batch takes does not grow with the file."_s}},
        {"Client book",
         {u"`clients` works on the client book the suite's windows share: the file `--clients FILE` names, else "
          "the one the environment variable `KESTRAVA_CLIENTS` names, else `kestrava/clients.sqlite` in the "
          "user's data folder (`~/.local/share`). Looking at a book that is not there finds no one and makes no "
          "file; adding or importing makes it. A book written by a newer Kestrava can be read but not changed, "
          "and a damaged one is refused; neither is ever altered."_s,
          u"`--client ID` reads for a client of the book: their birth names and birth date take the place of the "
          "name and date options (a command with one name option reads the names joined by blanks), with the "
          "same capitals rule, and the reading is added to the client's history (`clients show ID` lists it): "
          "the command, the time and the inputs it read. Giving a name or date option with `--client` is a usage "
          "error. `forecast` and `timeline` read for a client too but add nothing to the history."_s,
          u"`compatibility` takes either person, or both, from the book with `--a-client ID` and `--b-client ID`; "
          "the reading joins the history of each client in it, with the other person as the partner (a client on "
          "both sides gets it once). `report --partner-client ID` takes the compatibility section's second person "
          "from the book. A client's names are read in capitals even with `--keep-case`, which keeps the case of "
          "typed names only; giving a client's number and typed names or date for the same person is a usage "
          "error."_s}},
        {"Exit status",
         {u"0 when every subject was read; 1 when some batch rows could not be read (their lines say why) or the "
          "batch's lines could not all be written, when "
          "an import refused some files or rows, when `clients add` found the person in the book already, or "
          "when a reading for a client could not be added to their history; 2 for a usage error, a subject that "
          "cannot be read, an unreadable batch file or a header row that lacks a column, an unknown client ID, "
          "or a client book that cannot be read or changed (the message goes to standard error)."_s}},
    };
}

QString joinedUsage(const Command &command, const QString &separator)
{
    return command.usage().join(separator);
}

// Neighbouring keys that come from the same reading are listed together.
QList<std::pair<QStringList, QString>> groupedKeys(const Command &command)
{
    QList<std::pair<QStringList, QString>> groups;
    for (const JsonKey &key : command.jsonKeys()) {
        if (!groups.isEmpty() && groups.back().second == key.meaning)
            groups.back().first.append(key.key);
        else
            groups.append({{key.key}, key.meaning});
    }
    return groups;
}

QString batchColumns(const Command &command)
{
    return u"A batch file's header row names "_s + columnsNeeded(command) + u"."_s;
}

// "list [--search TEXT] ...": an action as its usage line shows it, without
// the command's own name.
QString actionUsage(const Command &command, qsizetype index)
{
    return command.usage().at(index).section(u' ', 2);
}

// --- The manual page -------------------------------------------------------

QString roff(QString text)
{
    text.replace(u'\\', u"\\e"_s).replace(u'-', u"\\-"_s);
    if (text.startsWith(u'.') || text.startsWith(u'\''))
        text.prepend(u"\\&"_s);
    return text;
}

// Literals (between backquotes) in bold.
QString roffParagraph(const QString &text)
{
    const QStringList pieces = text.split(u'`');
    QString out;
    for (qsizetype i = 0; i < pieces.size(); ++i)
        out += i % 2 ? u"\\fB"_s + roff(pieces[i]) + u"\\fR"_s : roff(pieces[i]);
    return out.replace(u"\n"_s, u" "_s);
}

QString optionHeading(const OptionEntry &entry)
{
    return entry.valueName ? u"\\fB\\-\\-%1\\fR \\fI%2\\fR"_s.arg(roff(QString::fromLatin1(entry.name)),
                                                              roff(QString::fromLatin1(entry.valueName)))
                          : u"\\fB\\-\\-%1\\fR"_s.arg(roff(QString::fromLatin1(entry.name)));
}

// --- Markdown --------------------------------------------------------------

QString markdownOption(const OptionEntry &entry)
{
    return entry.valueName ? u"`--%1 %2`"_s.arg(QLatin1StringView(entry.name), QLatin1StringView(entry.valueName))
                          : u"`--%1`"_s.arg(QLatin1StringView(entry.name));
}

} // namespace

QString manualPage(std::span<const Command *const> commands)
{
    QString page;
    page += u".TH KESTRAVA\\-CLI 1 \"\" \"Kestrava %1\" \"User Commands\"\n"_s.arg(kestrava::productVersion());
    page += u".SH NAME\nkestrava\\-cli \\- the Kestrava numerology readings from the command line\n"_s;
    page += u".SH SYNOPSIS\n.nf\n"_s;
    for (const Command *command : commands)
        page += roff(joinedUsage(*command, u"\n"_s)) + u"\n"_s;
    page += u"kestrava\\-cli \\-\\-help | \\-\\-version\n.fi\n"_s;
    page += u".SH DESCRIPTION\n"_s
            + roffParagraph(u"`kestrava-cli` gives the readings of the Kestrava programs without a window, from "
                            "the same core the windows use: for one subject given by its options, or for every "
                            "row of a CSV file. `kestrava-cli COMMAND --help` lists a command's options."_s)
            + u"\n"_s;
    page += u".SH COMMANDS\n"_s;
    for (const Command *command : commands) {
        page += u".SS %1\n"_s.arg(roff(QString::fromLatin1(command->name)));
        page += roffParagraph(QString::fromUtf8(command->description)) + u"\n"_s;
        for (qsizetype i = 0; i < qsizetype(command->actions.size()); ++i) {
            page += u".TP\n\\fB"_s + roff(actionUsage(*command, i)) + u"\\fR\n"_s
                    + roffParagraph(QString::fromUtf8(command->actions[i].description)) + u"\n"_s;
        }
        if (!command->actions.empty())
            page += u".PP\nOptions:\n"_s;
        for (const OptionEntry &entry : command->optionList()) {
            page += u".TP\n"_s + optionHeading(entry) + u"\n"_s
                    + roffParagraph(QString::fromUtf8(entry.description)) + u"\n"_s;
        }
        if (command->jsonKeys) {
            page += u".PP\nJSON keys, in this order:\n"_s;
            for (const auto &[keys, meaning] : groupedKeys(*command))
                page += u".TP\n\\fB"_s + roff(keys.join(u", "_s)) + u"\\fR\n"_s + roffParagraph(meaning) + u"\n"_s;
        } else {
            page += u".PP\nWrites no JSON.\n"_s;
        }
        if (command->hasOption("batch"))
            page += u".PP\n"_s + roffParagraph(batchColumns(*command)) + u"\n"_s;
    }
    for (const Topic &topic : topics()) {
        page += u".SH "_s + roff(QString::fromLatin1(topic.heading).toUpper()) + u"\n"_s;
        for (qsizetype i = 0; i < topic.paragraphs.size(); ++i)
            page += (i ? u".PP\n"_s : QString()) + roffParagraph(topic.paragraphs[i]) + u"\n"_s;
    }
    page += u".SH EXAMPLES\n.nf\n"_s
            + roff(u"kestrava-cli numerology --first Mary --middle Ann --last Smith --born 1979-08-06\n"
                   "kestrava-cli tarot --name \"John Smith\" --month mar --day 15 --year 1980 --seed 42 --pretty\n"
                   "kestrava-cli numerology --first Mary --last Smith --month 8 --day 6 --year 1979 --format html "
                   "> mary.html\n"
                   "kestrava-cli daily --batch clients.csv --today 2025-12-09\n"
                   "kestrava-cli compatibility --a-client 1 --b-client 2 --married 2001-06-16 --format text\n"_s)
            + u".fi\n"_s;
    return page;
}

QString referenceMarkdown(std::span<const Command *const> commands)
{
    QString text = u"# kestrava-cli reference\n\n"
                   "<!-- Written by `kestrava-cli --generate-reference docs/command-line.md` from the option "
                   "tables --help prints; the manual page and the shell completion come from the same tables. -->"
                   "\n\n"
                   "`kestrava-cli` gives the readings of the Kestrava programs without a window, from the same "
                   "core the windows use: for one subject given by its options, or for every row of a CSV file. "
                   "`kestrava-cli COMMAND --help` lists a command's options.\n\n```\n"_s;
    for (const Command *command : commands)
        text += joinedUsage(*command, u"\n"_s) + u"\n"_s;
    text += u"kestrava-cli --help | --version\n```\n"_s;
    for (const Command *command : commands) {
        text += u"\n## %1\n\n%2\n\n"_s.arg(QLatin1StringView(command->name), QString::fromUtf8(command->description));
        for (qsizetype i = 0; i < qsizetype(command->actions.size()); ++i) {
            text += u"- `"_s + actionUsage(*command, i) + u"`: "_s
                    + QString::fromUtf8(command->actions[i].description) + u"\n"_s;
        }
        if (!command->actions.empty())
            text += u"\nOptions:\n\n"_s;
        for (const OptionEntry &entry : command->optionList())
            text += u"- "_s + markdownOption(entry) + u": "_s + QString::fromUtf8(entry.description) + u"\n"_s;
        if (command->jsonKeys) {
            text += u"\nJSON keys, in this order:\n\n"_s;
            for (const auto &[keys, meaning] : groupedKeys(*command))
                text += u"- `"_s + keys.join(u"`, `"_s) + u"`: "_s + meaning + u"\n"_s;
        } else {
            text += u"\nWrites no JSON.\n"_s;
        }
        if (command->hasOption("batch"))
            text += u"\n"_s + batchColumns(*command) + u"\n"_s;
    }
    for (const Topic &topic : topics()) {
        text += u"\n## "_s + QString::fromLatin1(topic.heading) + u"\n"_s;
        for (const QString &paragraph : topic.paragraphs)
            text += u"\n"_s + paragraph + u"\n"_s;
    }
    return text;
}

namespace {

// A command with actions offers them as its second word; their operands
// are files (import, export) or nothing to guess (an ID).
QString actionCompletion(std::span<const Command *const> commands)
{
    QString script;
    for (const Command *command : commands) {
        if (command->actions.empty())
            continue;
        QStringList names, takeFiles;
        for (const Action &action : command->actions) {
            names.append(QString::fromLatin1(action.name));
            if (QString::fromLatin1(action.operands).contains(u"FILE"_s))
                takeFiles.append(QString::fromLatin1(action.name));
        }
        script += u"    if [[ ${COMP_WORDS[1]} == %1 ]]; then\n"
                  "        if [[ $COMP_CWORD -eq 2 && $cur != -* ]]; then\n"
                  "            COMPREPLY=($(compgen -W '%2' -- \"$cur\"))\n"
                  "            return\n"
                  "        fi\n"_s.arg(QLatin1StringView(command->name), names.join(u' '));
        if (!takeFiles.isEmpty())
            script += u"        if [[ $cur != -* && $prev != --* && ' %1 ' == *\" ${COMP_WORDS[2]} \"* ]]; then\n"
                      "            COMPREPLY=($(compgen -f -- \"$cur\"))\n"
                      "            return\n"
                      "        fi\n"_s.arg(takeFiles.join(u' '));
        script += u"    fi\n"_s;
    }
    return script;
}

} // namespace

QString bashCompletion(std::span<const Command *const> commands)
{
    QStringList names;
    for (const Command *command : commands)
        names.append(QString::fromLatin1(command->name));
    QString script = u"# bash completion for kestrava-cli, written from its option tables.\n"
                     "_kestrava_cli()\n{\n"
                     "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
                     "    if [[ $COMP_CWORD -eq 1 ]]; then\n"
                     "        COMPREPLY=($(compgen -W '%1 --help --version' -- \"$cur\"))\n"
                     "        return\n"
                     "    fi\n"
                     "    local options=\n"
                     "%2"
                     "    case \"${COMP_WORDS[1]} $prev\" in\n"_s.arg(names.join(u' '), actionCompletion(commands));
    QString optionLists;
    for (const Command *command : commands) {
        QStringList all;
        QStringList takesValue;
        for (const OptionEntry &entry : command->optionList()) {
            const QString option = u"--"_s + QLatin1StringView(entry.name);
            all.append(option);
            if (!entry.valueName)
                continue;
            const QString pattern = u"%1\\ %2"_s.arg(QLatin1StringView(command->name), option);
            if (entry.choices)
                script += u"        %1) COMPREPLY=($(compgen -W '%2' -- \"$cur\")); return ;;\n"_s.arg(
                    pattern, QLatin1StringView(entry.choices));
            else if (std::string_view(entry.name) == "batch" || std::string_view(entry.name) == "clients"
                     || std::string_view(entry.name) == "out")
                script += u"        %1) COMPREPLY=($(compgen -f -- \"$cur\")); return ;;\n"_s.arg(pattern);
            else
                takesValue.append(pattern);
        }
        // Free values (names, numbers, dates): nothing to offer.
        if (!takesValue.isEmpty())
            script += u"        %1) return ;;\n"_s.arg(takesValue.join(u'|'));
        optionLists += u"        %1) options='%2 --help' ;;\n"_s.arg(QLatin1StringView(command->name),
                                                                   all.join(u' '));
    }
    script += u"    esac\n"
              "    case ${COMP_WORDS[1]} in\n"_s
              + optionLists
              + u"    esac\n"
                "    COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
                "}\n"
                "complete -F _kestrava_cli kestrava-cli\n"_s;
    return script;
}

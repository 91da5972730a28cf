#pragma once

#include "cli/batch.h"
#include "cli/clientaccess.h"
#include "cli/command.h"
#include "common/jsonwriter.h"
#include "richtext/composition.h"

#include <QList>
#include <QTextStream>

// What a subcommand does with one subject, in three steps a batch repeats
// for every row: the subject's inputs, their JSON object, and (for text and
// html) the reading as the program composes it.
template <typename Inputs>
struct Program
{
    // The program's problem with the subject (in its own words), or nothing
    // after filling inputs.
    std::optional<QString> (*read)(const Subject &subject, Inputs &inputs);
    // One compact JSON object, keys in the documented order.
    QByteArray (*json)(const Inputs &inputs);
    // The reading's compositions; null while the program offers JSON only.
    QList<richtext::Composition> (*document)(const Inputs &inputs) = nullptr;
    // A batch worker's own reader, for a program that can keep what it
    // builds from row to row (and write the object json() gives straight
    // into the batch's lines); null to read and call json() for each row.
    BatchReader (*batchReader)() = nullptr;
};

// Whether the program offers text and html.
template <typename Inputs>
constexpr bool writesDocuments(const Program<Inputs> &program)
{
    return program.document != nullptr;
}

// Runs a subcommand by its option table and its program: one subject from
// the options in the chosen format, or a batch file as JSON lines.
template <typename Inputs>
int runProgram(const Command &command, const Program<Inputs> &program, const QStringList &arguments,
               QTextStream &out, QTextStream &err)
{
    Invocation call;
    if (const std::optional<int> done = parseInvocation(command, arguments, call, out, err))
        return *done;

    if (call.batch) {
        out.flush();
        if (program.batchReader)
            return runBatch(command, call, program.batchReader, err);
        return runBatch(command, call, [&program]() -> BatchReader {
            return [&program](const Subject &subject, std::string &out) {
                Inputs inputs;
                if (std::optional<QString> problem = program.read(subject, inputs))
                    return problem;
                const QByteArray json = program.json(inputs);
                out.append(json.constData(), std::size_t(json.size()));
                return std::optional<QString>();
            };
        }, err);
    }

    std::optional<ClientReading> forClient;
    if (call.values.contains(QStringLiteral("client"))) {
        if (const std::optional<int> failed = forClient.emplace().fill(command, call, err))
            return *failed;
    }

    Subject subject;
    std::optional<QString> problem = makeSubject(call.given, call.keepCase, call.today, u"--", subject);
    Inputs inputs;
    if (!problem)
        problem = program.read(subject, inputs);
    if (problem) {
        err << "kestrava-cli: " << *problem << "\n";
        return kExitUsage;
    }
    switch (call.format) {
    case OutputFormat::Json: {
        const QByteArray json = program.json(inputs);
        out << (call.pretty ? kestrava::indentJson(json) : json) << "\n";
        break;
    }
    case OutputFormat::Text:
        for (const richtext::Composition &part : program.document(inputs))
            out << richtext::toPlainText(part);
        break;
    case OutputFormat::Html:
        out << richtext::toHtmlPage(documentTitle(command, subject), program.document(inputs));
        break;
    }
    if (forClient) {
        out.flush();
        return forClient->record(command, subject, err);
    }
    return kExitDone;
}

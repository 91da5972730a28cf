#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVarLengthArray>

// Comma-separated values as spreadsheets write them: fields may be quoted,
// a quoted field may hold commas, line breaks and doubled quotes; lines end
// in LF or CR LF; text is UTF-8 (a leading byte-order mark is skipped).
// Empty lines are skipped.
//
// Reading is in two steps, so that a large file is split into records on one
// thread and the records are read on many: CsvReader finds where each record
// lies, CsvRecord splits one into fields and decodes those asked for.

// The records of a CSV text, one after the other, as views into the data.
class CsvReader
{
public:
    // The data must outlive the reader and the records it hands out.
    explicit CsvReader(QByteArrayView data);

    // Sets record to the next record's bytes without its line end; false
    // after the last.
    bool next(QByteArrayView &record);

private:
    QByteArrayView m_data;
    qsizetype m_at = 0;
};

// The fields of one record found by CsvReader.
class CsvRecord
{
public:
    CsvRecord() = default;
    // The record must outlive this.
    explicit CsvRecord(QByteArrayView record);

    qsizetype size() const { return m_fields.size(); }
    // The field's text: quotes taken away, doubled quotes single, UTF-8
    // decoded.  Null for an empty field.
    QString field(qsizetype index) const;

private:
    struct Field
    {
        qsizetype begin;
        qsizetype end;
        bool quotes; // holds a quote character: the quotes must come out
    };
    QByteArrayView m_record;
    QVarLengthArray<Field, 16> m_fields;
};

// Every record with every field, at once.
QList<QStringList> parseCsv(const QByteArray &data);

// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Line-oriented reading and writing of the program's 8-bit text files.
//
// Files are written with CR LF after every line. Readers accept CR LF, a bare LF and a
// bare CR as a line end. Numbers follow the rules of the program's files: a number is
// read as a token after skipping blanks and line breaks, up to the first blank or
// control character, and the rest of its line is then skipped.

/// Reads lines and numbers from an in-memory file. The first error sticks: afterwards
/// every read yields an empty text or 0 and error() names the line.
class LineReader {
public:
    /// The reader shares data (no copy is made) and keeps it alive.
    explicit LineReader(const QByteArray& data);

    bool atEnd() const { return m_pos >= m_data.size(); }
    bool ok() const { return m_error.isEmpty(); }
    /// Description of the first error; errorLine() is its 1-based line number.
    QString error() const { return m_error; }
    int errorLine() const { return m_errorLine; }
    /// 1-based number of the line the next read starts on.
    int lineNumber() const { return m_line; }

    /// Reads to the end of the current line. At the end of the data: empty.
    QByteArray readLine();
    /// As readLine, without a copy: the view is valid while the reader's data lives.
    QByteArrayView readLineView();
    /// Skips one line without copying it.
    void skipLine();
    /// Reads a 32-bit integer; 0 at the end of the data, an error when malformed.
    qint32 readInteger();
    /// Reads the decimal integer at the start of a token ("12 portions" and "12a" read
    /// as 12, as the draft format takes it); an error when the token starts with no
    /// digit or the number is out of range. 0 at the end of the data.
    qint32 readLeadingInteger();
    /// Reads a count of list entries: like readInteger, a negative count is an error.
    qint32 readCount();
    /// Reads a decimal number with or without exponent; 0 at the end of the data.
    double readDouble();

    /// Records an error of the caller's own (for example a value out of range).
    void fail(const QString& message);
    void failAt(int line, const QString& message);

private:
    QByteArrayView readToken();
    // The integer of the next token: the whole token, or only its leading digits.
    qint32 readIntegerToken(bool wholeToken);
    void skipLineBreak();

    const QByteArray m_data; // const: reading never detaches the shared buffer
    qsizetype m_pos = 0;
    int m_line = 1;
    int m_tokenLine = 1;
    int m_errorLine = 0;
    QString m_error;
};

/// Builds a file's bytes line by line, each line ended by CR LF. A text value never
/// spans lines: CR and LF inside it are left out.
class LineWriter {
public:
    void reserve(qsizetype bytes) { m_data.reserve(bytes); }
    void writeText(QByteArrayView text);
    void writeInteger(qint64 value);
    void writeDateTime(double value);
    void writeEmptyLines(int count);
    const QByteArray& data() const { return m_data; }

private:
    QByteArray m_data;
};

/// The 23-character scientific form of a date-time value: a blank or "-", one digit,
/// ".", 14 digits, "E", the exponent's sign and four digits (' 1.50000000000000E+0000').
QByteArray formatDateTimeValue(double value);

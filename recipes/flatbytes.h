// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstring>
#include <type_traits>
#include <vector>

// Plain numbers and arrays of them written one after another in the machine's byte
// order, for caches that this program writes and reads back on the same machine (each
// cache says in its header which byte order and format it holds). FlatReader checks
// every read against the end; after the first fault every read gives zeros and empties,
// and ok() tells.

class FlatWriter {
public:
    explicit FlatWriter(QByteArray& out) : m_out(out) {}

    template <typename T> void number(T value)
    {
        static_assert(std::is_trivially_copyable_v<T>);
        m_out.append(reinterpret_cast<const char*>(&value), sizeof value);
    }
    void bytes(QByteArrayView bytes)
    {
        number(quint64(bytes.size()));
        m_out.append(bytes);
    }
    template <typename T> void array(const std::vector<T>& values)
    {
        static_assert(std::is_trivially_copyable_v<T>);
        bytes(QByteArrayView(reinterpret_cast<const char*>(values.data()),
                             qsizetype(values.size() * sizeof(T))));
    }

private:
    QByteArray& m_out;
};

class FlatReader {
public:
    explicit FlatReader(QByteArrayView data) : m_data(data) {}

    bool ok() const { return m_ok; }
    bool atEnd() const { return m_pos == m_data.size(); }
    void fail() { m_ok = false; }

    template <typename T> T number()
    {
        static_assert(std::is_trivially_copyable_v<T>);
        T value{};
        if (const char* at = take(sizeof value))
            memcpy(&value, at, sizeof value);
        return value;
    }
    QByteArray bytes()
    {
        const auto size = number<quint64>();
        const char* at = take(size);
        return at ? QByteArray(at, qsizetype(size)) : QByteArray();
    }
    template <typename T> std::vector<T> array()
    {
        static_assert(std::is_trivially_copyable_v<T>);
        const auto size = number<quint64>();
        std::vector<T> values;
        if (size % sizeof(T) != 0) {
            fail();
            return values;
        }
        if (const char* at = take(size)) {
            values.resize(size_t(size / sizeof(T)));
            if (size)
                memcpy(values.data(), at, size_t(size));
        }
        return values;
    }

private:
    const char* take(quint64 size)
    {
        if (!m_ok || size > quint64(m_data.size() - m_pos)) {
            m_ok = false;
            return nullptr;
        }
        const char* at = m_data.data() + m_pos;
        m_pos += qsizetype(size);
        return at;
    }

    QByteArrayView m_data;
    qsizetype m_pos = 0;
    bool m_ok = true;
};

#pragma once
// The hint ticker of the status bars: types a hint out byte by byte, keeps it for one tick, clears it and
// starts again. A non-ASCII character counts as two bytes, so it appears after its second byte.
#include <QString>
#include <vector>

class THintTicker {
public:
    explicit THintTicker(const QString& hint = QString());

    // A new hint starts a new cycle from the empty text.
    void SetHint(const QString& hint);
    const QString& Hint() const { return m_hint; }

    // Advances one tick and returns the text to show now.
    QString Tick();

    // Bytes of the hint; a cycle takes Bytes() + 1 ticks.
    int Bytes() const { return m_ends.empty() ? 0 : m_ends.back(); }
    int CycleTicks() const { return Bytes() + 1; }

    // The length of a text in ticker bytes.
    static int ByteLength(const QString& text);

private:
    QString m_hint;
    std::vector<int> m_ends;   // byte offset after each character
    std::vector<int> m_starts; // index in m_hint where each character starts
    int m_pos = 0;             // bytes typed so far
};

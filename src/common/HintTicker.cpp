#include "common/HintTicker.h"

namespace {

// Walks the characters of a text (a surrogate pair is one character) with their ticker widths.
template <class F> void ForEachCharacter(const QString& text, F&& f) {
    for (int i = 0; i < text.size();) {
        const bool pair =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const int units = pair ? 2 : 1;
        const int bytes = text.at(i).unicode() < 0x80 ? 1 : 2;
        f(i, bytes);
        i += units;
    }
}

} // namespace

THintTicker::THintTicker(const QString& hint) {
    SetHint(hint);
}

void THintTicker::SetHint(const QString& hint) {
    m_hint = hint;
    m_ends.clear();
    m_starts.clear();
    int total = 0;
    ForEachCharacter(hint, [&](int start, int bytes) {
        total += bytes;
        m_starts.push_back(start);
        m_ends.push_back(total);
    });
    m_pos = 0;
}

int THintTicker::ByteLength(const QString& text) {
    int total = 0;
    ForEachCharacter(text, [&](int, int bytes) { total += bytes; });
    return total;
}

QString THintTicker::Tick() {
    if (m_pos >= Bytes()) {
        // The whole hint has been shown for one tick: clear and start over.
        m_pos = 0;
        return QString();
    }
    ++m_pos;
    // Only whole characters show; half of a two-byte character is not drawn.
    size_t whole = 0;
    while (whole < m_ends.size() && m_ends[whole] <= m_pos)
        ++whole;
    const int units = whole < m_starts.size() ? m_starts[whole] : int(m_hint.size());
    return m_hint.left(units);
}

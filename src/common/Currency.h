#pragma once
// Fixed-point amounts with four decimal places, as the stock and field totals are kept.
#include <QString>
#include <cstdint>

class TCurrency {
public:
    TCurrency() = default;
    static TCurrency FromUnits(int64_t units) {
        TCurrency c;
        c.m_units = units;
        return c;
    }
    static TCurrency FromDouble(double value);
    // Parses decimal text exactly ("12.5", "-0.0001", " 3 "); false when the text is not a number.
    static bool TryParse(const QString& text, TCurrency& out);

    int64_t Units() const { return m_units; } // value × 10000
    double ToDouble() const { return double(m_units) / 10000.0; }
    // No thousands separators, no trailing zeros: "0.3", "12", "-1.25".
    QString ToString() const;

    TCurrency& operator+=(TCurrency o) {
        m_units += o.m_units;
        return *this;
    }
    TCurrency operator+(TCurrency o) const { return FromUnits(m_units + o.m_units); }
    TCurrency operator-(TCurrency o) const { return FromUnits(m_units - o.m_units); }
    bool operator==(TCurrency o) const { return m_units == o.m_units; }
    bool operator!=(TCurrency o) const { return m_units != o.m_units; }

private:
    int64_t m_units = 0;
};

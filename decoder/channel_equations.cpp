#include "decoder/channel_equations.h"

#include <cmath>
#include <string>

#include "core/channel.h"
#include "core/number_text.h"
#include "decoder/channel_table.h"

namespace ao07 {
namespace {

// The divisor of the milli-unit equations is a 32-bit constant, widened for a 64-bit division.
constexpr double kThousand = static_cast<double>(1000.0f);

/// Evaluates one channel's equation, naming the channel and raw value in any error.
class Evaluation {
public:
    Evaluation(int channel, std::int16_t raw) : m_channel(channel), m_raw(raw) {}

    float Run(const Equation& eq) const {
        const double n = m_raw;
        switch (eq.kind) {
            case EquationKind::Scaled:
                return F32(n * eq.a);
            case EquationKind::ScaledPlus:
                return F32(n * eq.a + eq.b);
            case EquationKind::LessScaled:
                return F32(eq.b - n * eq.a);
            case EquationKind::ScaledMilli:
                return F32(F32(n * eq.a) / kThousand);
            case EquationKind::PanelCurrent:
                return Milli(Int16(1970 - Int16(20 * m_raw)));
            case EquationKind::BatteryCurrent:
                return Milli(Int16(Int16(m_raw - 50) * 40));
            case EquationKind::PowerFromLoss:
                return F32(std::pow(Finite(1 - n * eq.a), 2.0) * eq.b);
            case EquationKind::SquaredScaled:
                return F32(std::pow(n, 2.0) * eq.a);
            case EquationKind::SquaredScaledPlus:
                return F32(std::pow(n, 2.0) * eq.a + eq.b);
            case EquationKind::SquaredOverMilli:
                return F32(F32(std::pow(n, 2.0) / eq.a) / kThousand);
        }
        throw ConversionError(Where() + "has no equation");
    }

private:
    // A 16-bit integer step: exact in int, then checked against the 16-bit range.
    std::int16_t Int16(int value) const {
        if (value < INT16_MIN || value > INT16_MAX) {
            throw ConversionError(Where() + "arithmetic overflow");
        }
        return static_cast<std::int16_t>(value);
    }

    float Milli(std::int16_t w) const { return F32(static_cast<double>(F32(w)) / kThousand); }

    // Rounding to 32 bits; an infinite or NaN result means an overflow or invalid operation.
    float F32(double value) const {
        const auto rounded = static_cast<float>(Finite(value));
        if (!std::isfinite(rounded)) {
            throw ConversionError(Where() + "floating-point error");
        }
        return rounded;
    }

    double Finite(double value) const {
        if (!std::isfinite(value)) {
            throw ConversionError(Where() + "floating-point error");
        }
        return value;
    }

    std::string Where() const {
        return "Channel " + ChannelName(m_channel) + " with raw value " + IntegerText(m_raw) + ": ";
    }

    int m_channel;
    std::int16_t m_raw;
};

}  // namespace

float ConvertChannel(int channel, std::int16_t raw) {
    return Evaluation(channel, raw).Run(Channel(channel).equation);
}

}  // namespace ao07

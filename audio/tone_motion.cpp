#include "audio/tone_motion.h"

#include <cmath>
#include <numbers>

namespace ao07::audio {
namespace {

constexpr int kN = 4;
using Vector = ToneMotion::Vector;
using Matrix = ToneMotion::Matrix;

Matrix Multiply(const Matrix& a, const Matrix& b) {
    Matrix c{};
    for (int i = 0; i < kN; ++i) {
        for (int k = 0; k < kN; ++k) {
            for (int j = 0; j < kN; ++j) {
                c[i * kN + j] += a[i * kN + k] * b[k * kN + j];
            }
        }
    }
    return c;
}

Matrix Transposed(const Matrix& a) {
    Matrix t{};
    for (int i = 0; i < kN; ++i) {
        for (int j = 0; j < kN; ++j) {
            t[j * kN + i] = a[i * kN + j];
        }
    }
    return t;
}

Vector Apply(const Matrix& a, const Vector& v) {
    Vector r{};
    for (int i = 0; i < kN; ++i) {
        for (int j = 0; j < kN; ++j) {
            r[i] += a[i * kN + j] * v[j];
        }
    }
    return r;
}

/// Gauss-Jordan with partial pivoting; false for a singular matrix.
bool Invert(Matrix a, Matrix& inverse) {
    inverse = {};
    for (int i = 0; i < kN; ++i) {
        inverse[i * kN + i] = 1;
    }
    for (int col = 0; col < kN; ++col) {
        int pivot = col;
        for (int row = col + 1; row < kN; ++row) {
            if (std::abs(a[row * kN + col]) > std::abs(a[pivot * kN + col])) {
                pivot = row;
            }
        }
        if (std::abs(a[pivot * kN + col]) < 1e-300) {
            return false;
        }
        for (int j = 0; j < kN; ++j) {
            std::swap(a[col * kN + j], a[pivot * kN + j]);
            std::swap(inverse[col * kN + j], inverse[pivot * kN + j]);
        }
        const double scale = 1 / a[col * kN + col];
        for (int j = 0; j < kN; ++j) {
            a[col * kN + j] *= scale;
            inverse[col * kN + j] *= scale;
        }
        for (int row = 0; row < kN; ++row) {
            if (row != col) {
                const double factor = a[row * kN + col];
                for (int j = 0; j < kN; ++j) {
                    a[row * kN + j] -= factor * a[col * kN + j];
                    inverse[row * kN + j] -= factor * inverse[col * kN + j];
                }
            }
        }
    }
    return true;
}

}  // namespace

ToneMotion::ToneMotion(double hopSeconds, const MotionParams& params) : m_params(params) {
    const double dt = hopSeconds;
    const double omega = 2 * std::numbers::pi / params.wobblePeriodSeconds;
    const double keep = std::exp(-dt / params.wobbleMemorySeconds);
    const double turn = omega * dt;
    // Centre and drift: the centre moves at the drift.
    m_step[0 * kN + 0] = 1;
    m_step[0 * kN + 1] = dt;
    m_step[1 * kN + 1] = 1;
    // The swing turns at the wobble's frequency and fades with its memory.
    m_step[2 * kN + 2] = keep * std::cos(turn);
    m_step[2 * kN + 3] = keep * std::sin(turn) / omega;
    m_step[3 * kN + 2] = -keep * omega * std::sin(turn);
    m_step[3 * kN + 3] = keep * std::cos(turn);
    m_noise[0 * kN + 0] = params.toneJitterHz * params.toneJitterHz * dt;
    m_noise[1 * kN + 1] =
        params.driftChangeHzPerSecondSquared * params.driftChangeHzPerSecondSquared * dt;
    // What the memory loses is made up on the swing's rate, so that the swing keeps its size:
    // a sine of amplitude A has a mean square of A^2 / 2 and its rate one of (omega A)^2 / 2.
    const double swingSquare = params.wobbleHz * params.wobbleHz / 2;
    m_noise[3 * kN + 3] = 2 * omega * omega * swingSquare * (1 - keep * keep);
}

ToneMotion::State ToneMotion::Start(double toneHz, double spreadHz) const {
    State state;
    state.x = {toneHz, 0, 0, 0};
    const double omega = 2 * std::numbers::pi / m_params.wobblePeriodSeconds;
    const double swingSquare = m_params.wobbleHz * m_params.wobbleHz / 2;
    state.p[0 * kN + 0] = spreadHz * spreadHz;
    state.p[1 * kN + 1] = m_params.startingDriftHzPerSecond * m_params.startingDriftHzPerSecond;
    state.p[2 * kN + 2] = swingSquare;
    state.p[3 * kN + 3] = omega * omega * swingSquare;
    return state;
}

ToneMotion::State ToneMotion::Predict(const State& state) const {
    State next;
    next.x = Apply(m_step, state.x);
    next.p = Multiply(Multiply(m_step, state.p), Transposed(m_step));
    for (int i = 0; i < kN * kN; ++i) {
        next.p[i] += m_noise[i];
    }
    // The centre's doubt is capped: scaling its row and column keeps the covariance valid.
    const double widest = m_params.widestHz * m_params.widestHz;
    if (next.p[0] > widest) {
        const double scale = std::sqrt(widest / next.p[0]);
        for (int j = 0; j < kN; ++j) {
            next.p[j] *= scale;
            next.p[j * kN] *= scale;
        }
    }
    return next;
}

ToneMotion::State ToneMotion::Update(const State& state, double hz, double variance) const {
    // The measurement sees the centre plus the swing.
    const double innovation = hz - state.Hz();
    const double expected = state.Variance() + variance;
    Vector seen{};  // covariance of each component with the measured tone
    for (int i = 0; i < kN; ++i) {
        seen[i] = state.p[i * kN + 0] + state.p[i * kN + 2];
    }
    State next = state;
    for (int i = 0; i < kN; ++i) {
        next.x[i] += seen[i] / expected * innovation;
        for (int j = 0; j < kN; ++j) {
            next.p[i * kN + j] -= seen[i] * seen[j] / expected;
        }
    }
    return next;
}

ToneMotion::Vector ToneMotion::Smooth(const State& filtered, const State& predictedNext,
                                      const Vector& smoothedNext) const {
    Matrix inverse;
    if (!Invert(predictedNext.p, inverse)) {
        return filtered.x;
    }
    const Matrix gain = Multiply(Multiply(filtered.p, Transposed(m_step)), inverse);
    Vector difference;
    for (int i = 0; i < kN; ++i) {
        difference[i] = smoothedNext[i] - predictedNext.x[i];
    }
    const Vector correction = Apply(gain, difference);
    Vector smoothed = filtered.x;
    for (int i = 0; i < kN; ++i) {
        smoothed[i] += correction[i];
    }
    return smoothed;
}

}  // namespace ao07::audio

#pragma once

// liquid-dsp takes std::complex<float> for its complex samples when <complex> comes first.
#include <complex>

#include <liquid/liquid.h>

// What the transforms share. FFTW's planner is not reentrant, so every plan of the program is
// made under one lock (executing a plan needs none). Each thread keeps one transform buffer,
// grown to the largest transform it has run, so the sequences of a run reuse it; the double-
// and single-precision transforms of a thread take turns in it.
#pragma once

#include <fftw3.h>

#include <complex>
#include <cstddef>
#include <cstdint>
#include <mutex>

namespace zentrope {

std::mutex& FftwPlannerLock();

// Bytes FFTW keeps for an estimated plan of a transform whose sides (one, or rows and columns)
// are smooth lengths: measured at 8 to 10 bytes per value of each side's length (a
// two-dimensional plan holds one transform per side), taken as 20 with some room.
uint64_t FftwPlanBytes(uint64_t rows, uint64_t columns);

// The calling thread's buffer of at least `count` complex values, aligned by fftw_malloc as
// the plans expect; its contents are undefined.
fftw_complex* ThreadTransformBuffer(size_t count);

// FFTW's calls in double (fftw_) and single (fftwf_) precision under one name, so that one
// transform serves both. std::complex shares fftw_complex's layout (FFTW manual, 4.1.1).
template <typename Real> struct Fftw;

template <> struct Fftw<double> {
    using Plan = fftw_plan;
    static Plan PlanComplex(int n, std::complex<double>* data) {
        auto* p = reinterpret_cast<fftw_complex*>(data);
        return fftw_plan_dft_1d(n, p, p, FFTW_FORWARD, FFTW_ESTIMATE);
    }
    static Plan PlanReal(int rows, int columns, std::complex<double>* data) {
        auto* p = reinterpret_cast<fftw_complex*>(data);
        return fftw_plan_dft_r2c_2d(rows, columns, reinterpret_cast<double*>(p), p, FFTW_ESTIMATE);
    }
    static void RunComplex(Plan plan, std::complex<double>* data) {
        auto* p = reinterpret_cast<fftw_complex*>(data);
        fftw_execute_dft(plan, p, p);
    }
    static void RunReal(Plan plan, std::complex<double>* data) {
        auto* p = reinterpret_cast<fftw_complex*>(data);
        fftw_execute_dft_r2c(plan, reinterpret_cast<double*>(p), p);
    }
};

template <> struct Fftw<float> {
    using Plan = fftwf_plan;
    static Plan PlanComplex(int n, std::complex<float>* data) {
        auto* p = reinterpret_cast<fftwf_complex*>(data);
        return fftwf_plan_dft_1d(n, p, p, FFTW_FORWARD, FFTW_ESTIMATE);
    }
    static Plan PlanReal(int rows, int columns, std::complex<float>* data) {
        auto* p = reinterpret_cast<fftwf_complex*>(data);
        return fftwf_plan_dft_r2c_2d(rows, columns, reinterpret_cast<float*>(p), p, FFTW_ESTIMATE);
    }
    static void RunComplex(Plan plan, std::complex<float>* data) {
        auto* p = reinterpret_cast<fftwf_complex*>(data);
        fftwf_execute_dft(plan, p, p);
    }
    static void RunReal(Plan plan, std::complex<float>* data) {
        auto* p = reinterpret_cast<fftwf_complex*>(data);
        fftwf_execute_dft_r2c(plan, reinterpret_cast<float*>(p), p);
    }
};

// The thread's buffer as `count` complex values of either precision.
template <typename Real> std::complex<Real>* ThreadTransformValues(size_t count) {
    const size_t doubles =
        (count * sizeof(std::complex<Real>) + sizeof(fftw_complex) - 1) / sizeof(fftw_complex);
    return reinterpret_cast<std::complex<Real>*>(ThreadTransformBuffer(doubles));
}

} // namespace zentrope

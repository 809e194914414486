#include "engines/fluid/if97.h"

#include <array>
#include <cmath>

namespace hxq::engines::fluid::if97 {
namespace {

// IAPWS R7-97(2012), Table 34: coefficients of the saturation-pressure equation.
constexpr double n1 = 0.11670521452767e4, n2 = -0.72421316703206e6, n3 = -0.17073846940092e2,
                 n4 = 0.12020824702470e5, n5 = -0.32325550322333e7, n6 = 0.14915108613530e2,
                 n7 = -0.48232657361591e4, n8 = 0.40511340542057e6, n9 = -0.23855557567849,
                 n10 = 0.65017534844798e3;

struct Term {
    int I;
    int J;
    double n;
};

// IAPWS R7-97(2012), Table 2: region 1, dimensionless Gibbs free energy.
constexpr std::array<Term, 34> kRegion1{{
    {0, -2, 0.14632971213167},     {0, -1, -0.84548187169114},    {0, 0, -0.37563603672040e1},
    {0, 1, 0.33855169168385e1},    {0, 2, -0.95791963387872},     {0, 3, 0.15772038513228},
    {0, 4, -0.16616417199501e-1},  {0, 5, 0.81214629983568e-3},   {1, -9, 0.28319080123804e-3},
    {1, -7, -0.60706301565874e-3}, {1, -1, -0.18990068218419e-1}, {1, 0, -0.32529748770505e-1},
    {1, 1, -0.21841717175414e-1},  {1, 3, -0.52838357969930e-4},  {2, -3, -0.47184321073267e-3},
    {2, 0, -0.30001780793026e-3},  {2, 1, 0.47661393906987e-4},   {2, 3, -0.44141845330846e-5},
    {2, 17, -0.72694996297594e-15}, {3, -4, -0.31679644845054e-4}, {3, 0, -0.28270797985312e-5},
    {3, 6, -0.85205128120103e-9},  {4, -5, -0.22425281908000e-5}, {4, -2, -0.65171222895601e-6},
    {4, 10, -0.14341729937924e-12}, {5, -8, -0.40516996860117e-6}, {8, -11, -0.12734301741641e-8},
    {8, -6, -0.17424871230634e-9}, {21, -29, -0.68762131295531e-18}, {23, -31, 0.14478307828521e-19},
    {29, -38, 0.26335781662795e-22}, {30, -39, -0.11947622640071e-22},
    {31, -40, 0.18228094581404e-23}, {32, -41, -0.93537087292458e-25},
}};

// IAPWS R7-97(2012), Table 10: region 2, ideal-gas part (J0, n0).
constexpr std::array<Term, 9> kRegion2Ideal{{
    {0, 0, -0.96927686500217e1}, {0, 1, 0.10086655968018e2},   {0, -5, -0.56087911283020e-2},
    {0, -4, 0.71452738081455e-1}, {0, -3, -0.40710498223928},  {0, -2, 0.14240819171444e1},
    {0, -1, -0.43839511319450e1}, {0, 2, -0.28408632460772},   {0, 3, 0.21268463753307e-1},
}};

// IAPWS R7-97(2012), Table 11: region 2, residual part.
constexpr std::array<Term, 43> kRegion2Res{{
    {1, 0, -0.17731742473213e-2},  {1, 1, -0.17834862292358e-1},  {1, 2, -0.45996013696365e-1},
    {1, 3, -0.57581259083432e-1},  {1, 6, -0.50325278727930e-1},  {2, 1, -0.33032641670203e-4},
    {2, 2, -0.18948987516315e-3},  {2, 4, -0.39392777243355e-2},  {2, 7, -0.43797295650573e-1},
    {2, 36, -0.26674547914087e-4}, {3, 0, 0.20481737692309e-7},   {3, 1, 0.43870667284435e-6},
    {3, 3, -0.32277677238570e-4},  {3, 6, -0.15033924542148e-2},  {3, 35, -0.40668253562649e-1},
    {4, 1, -0.78847309559367e-9},  {4, 2, 0.12790717852285e-7},   {4, 3, 0.48225372718507e-6},
    {5, 7, 0.22922076337661e-5},   {6, 3, -0.16714766451061e-10}, {6, 16, -0.21171472321355e-2},
    {6, 35, -0.23895741934104e2},  {7, 0, -0.59059564324270e-17}, {7, 11, -0.12621808899101e-5},
    {7, 25, -0.38946842435739e-1}, {8, 8, 0.11256211360459e-10},  {8, 36, -0.82311340897998e1},
    {9, 13, 0.19809712802088e-7},  {10, 4, 0.10406965210174e-18}, {10, 10, -0.10234747095929e-12},
    {10, 14, -0.10018179379511e-8}, {16, 29, -0.80882908646985e-10}, {16, 50, 0.10693031879409},
    {18, 57, -0.33662250574171},   {20, 20, 0.89185845355421e-24}, {20, 35, 0.30629316876232e-12},
    {20, 48, -0.42002467698208e-5}, {21, 21, -0.59056029685639e-25}, {22, 53, 0.37826947613457e-5},
    {23, 39, -0.12768608934681e-14}, {24, 26, 0.73087610595061e-28}, {24, 40, 0.55414715350778e-16},
    {24, 58, -0.94369707241210e-6},
}};

// Integer powers x^k for k in [lo, hi], by repeated multiplication (std::pow is slow
// and these sums are the hot path of every water property).
template <int Lo, int Hi>
struct Powers {
    std::array<double, Hi - Lo + 1> p{};
    explicit Powers(double x) {
        p[-Lo] = 1.0;
        for (int k = 1; k <= Hi; ++k) p[k - Lo] = p[k - 1 - Lo] * x;
        const double inv = 1.0 / x;
        for (int k = -1; k >= Lo; --k) p[k - Lo] = p[k + 1 - Lo] * inv;
    }
    double operator()(int k) const { return p[k - Lo]; }
};

}  // namespace

double saturation_pressure(double T) {
    // IF97 eq. (30): the saturation-pressure equation of region 4.
    const double theta = T + n9 / (T - n10);
    const double A = theta * theta + n1 * theta + n2;
    const double B = n3 * theta * theta + n4 * theta + n5;
    const double C = n6 * theta * theta + n7 * theta + n8;
    const double x = 2.0 * C / (-B + std::sqrt(B * B - 4.0 * A * C));
    return 1e6 * x * x * x * x;
}

double saturation_temperature(double p) {
    // IF97 eq. (31): the saturation-temperature equation of region 4.
    const double beta = std::sqrt(std::sqrt(p / 1e6));
    const double E = beta * beta + n3 * beta + n6;
    const double F = n1 * beta * beta + n4 * beta + n7;
    const double G = n2 * beta * beta + n5 * beta + n8;
    const double D = 2.0 * G / (-F - std::sqrt(F * F - 4.0 * E * G));
    return (n10 + D - std::sqrt((n10 + D) * (n10 + D) - 4.0 * (n9 + n10 * D))) / 2.0;
}

State region1(double p, double T) {
    // IF97 section 5.1, eq. (7) and Table 3: p* = 16.53 MPa, T* = 1386 K.
    const double pi = p / 16.53e6;
    const double tau = 1386.0 / T;
    const Powers<0, 32> a(7.1 - pi);
    const Powers<-43, 17> b(tau - 1.222);
    double g_pi = 0, g_pipi = 0, g_tau = 0, g_tautau = 0, g_pitau = 0;
    for (const auto& t : kRegion1) {
        if (t.I > 0) {
            g_pi -= t.n * t.I * a(t.I - 1) * b(t.J);
            if (t.I > 1) g_pipi += t.n * t.I * (t.I - 1) * a(t.I - 2) * b(t.J);
            if (t.J != 0) g_pitau -= t.n * t.I * a(t.I - 1) * t.J * b(t.J - 1);
        }
        if (t.J != 0) {
            g_tau += t.n * a(t.I) * t.J * b(t.J - 1);
            g_tautau += t.n * a(t.I) * t.J * (t.J - 1) * b(t.J - 2);
        }
    }
    // IF97 Table 3.
    State s;
    s.v = kR * T / p * pi * g_pi;
    s.h = kR * T * tau * g_tau;
    s.cp = -kR * tau * tau * g_tautau;
    const double d = g_pi - tau * g_pitau;
    s.cv = kR * (-tau * tau * g_tautau + d * d / g_pipi);
    // v = R T g_pi / p*, so (∂v/∂p)_T = R T g_pipi / p*².
    const double dv_dp = kR * T * g_pipi / (16.53e6 * 16.53e6);
    s.drho_dp = -dv_dp / (s.v * s.v);
    return s;
}

State region2(double p, double T) {
    // IF97 section 6.1, eqs. (15)-(17) and Table 12: p* = 1 MPa, T* = 540 K.
    const double pi = p / 1e6;
    const double tau = 540.0 / T;
    double g0_tau = 0, g0_tautau = 0;
    const Powers<-7, 3> t0(tau);
    for (const auto& t : kRegion2Ideal) {
        g0_tau += t.n * t.J * t0(t.J - 1);
        g0_tautau += t.n * t.J * (t.J - 1) * t0(t.J - 2);
    }
    const Powers<0, 24> a(pi);
    const Powers<-2, 58> b(tau - 0.5);
    double gr_pi = 0, gr_pipi = 0, gr_tau = 0, gr_tautau = 0, gr_pitau = 0;
    for (const auto& t : kRegion2Res) {
        gr_pi += t.n * t.I * a(t.I - 1) * b(t.J);
        if (t.I > 1) gr_pipi += t.n * t.I * (t.I - 1) * a(t.I - 2) * b(t.J);
        if (t.J != 0) {
            gr_tau += t.n * a(t.I) * t.J * b(t.J - 1);
            gr_tautau += t.n * a(t.I) * t.J * (t.J - 1) * b(t.J - 2);
            gr_pitau += t.n * t.I * a(t.I - 1) * t.J * b(t.J - 1);
        }
    }
    // IF97 Table 12.
    State s;
    s.v = kR * T / p * pi * (1.0 / pi + gr_pi);
    s.h = kR * T * tau * (g0_tau + gr_tau);
    s.cp = -kR * tau * tau * (g0_tautau + gr_tautau);
    const double d = 1.0 + pi * gr_pi - tau * pi * gr_pitau;
    s.cv = kR * (-tau * tau * (g0_tautau + gr_tautau) - d * d / (1.0 - pi * pi * gr_pipi));
    // v = R T (1/pi + gr_pi) / p*, so (∂v/∂p)_T = R T (-1/pi² + gr_pipi) / p*².
    const double dv_dp = kR * T * (-1.0 / (pi * pi) + gr_pipi) / 1e12;
    s.drho_dp = -dv_dp / (s.v * s.v);
    return s;
}

double viscosity(double T, double rho) {
    // IAPWS R12-08, eqs. (11)-(14) with Tables 1 and 2; the critical enhancement
    // (mu2 = 1 outside a small region around the critical point) is left out.
    const double Tb = T / kTc;
    const double rb = rho / kRhoc;
    constexpr std::array<double, 4> H0{1.67752, 2.20462, 0.6366564, -0.241605};
    double den = 0;
    double inv = 1.0;
    for (double h : H0) {
        den += h * inv;
        inv /= Tb;
    }
    const double mu0 = 100.0 * std::sqrt(Tb) / den;
    // H[i][j], i = 0..5 (powers of 1/Tb - 1), j = 0..6 (powers of rb - 1).
    constexpr double H[6][7] = {
        {0.520094, 0.222531, -0.281378, 0.161913, -0.0325372, 0, 0},
        {0.0850895, 0.999115, -0.906851, 0.257399, 0, 0, 0},
        {-1.08374, 1.88797, -0.772479, 0, 0, 0, 0},
        {-0.289555, 1.26613, -0.489837, 0, 0.0698452, 0, -0.00435673},
        {0, 0, -0.257040, 0, 0, 0.00872102, 0},
        {0, 0.120573, 0, 0, 0, 0, -0.000593264},
    };
    const double x = 1.0 / Tb - 1.0;
    const double y = rb - 1.0;
    double sum = 0;
    double xi = 1.0;
    for (int i = 0; i < 6; ++i) {
        double row = 0;
        double yj = 1.0;
        for (int j = 0; j < 7; ++j) {
            row += H[i][j] * yj;
            yj *= y;
        }
        sum += xi * row;
        xi *= x;
    }
    const double mu1 = std::exp(rb * sum);
    return 1e-6 * mu0 * mu1;
}

double conductivity(double T, double rho) {
    // IAPWS R15-11, eqs. (15)-(17) with Tables 1 and 2; the critical enhancement
    // lambda2 is left out (it matters only near the critical point).
    const double Tb = T / kTc;
    const double rb = rho / kRhoc;
    constexpr std::array<double, 5> L0{2.443221e-3, 1.323095e-2, 6.770357e-3, -3.454586e-3,
                                       4.096266e-4};
    double den = 0;
    double inv = 1.0;
    for (double l : L0) {
        den += l * inv;
        inv /= Tb;
    }
    const double lam0 = std::sqrt(Tb) / den;
    constexpr double L[5][6] = {
        {1.60397357, -0.646013523, 0.111443906, 0.102997357, -0.0504123634, 0.00609859258},
        {2.33771842, -2.78843778, 1.53616167, -0.463045512, 0.0832827019, -0.00719201245},
        {2.19650529, -4.54580785, 3.55777244, -1.40944978, 0.275418278, -0.0205938816},
        {-1.21051378, 1.60812989, -0.621178141, 0.0716373224, 0, 0},
        {-2.7203370, 4.57586331, -3.18369245, 1.1168348, -0.19268305, 0.012913842},
    };
    const double x = 1.0 / Tb - 1.0;
    const double y = rb - 1.0;
    double sum = 0;
    double xi = 1.0;
    for (int i = 0; i < 5; ++i) {
        double row = 0;
        double yj = 1.0;
        for (int j = 0; j < 6; ++j) {
            row += L[i][j] * yj;
            yj *= y;
        }
        sum += xi * row;
        xi *= x;
    }
    const double lam1 = std::exp(rb * sum);
    return 1e-3 * lam0 * lam1;
}

double conductivity(double T, const State& s) {
    // IAPWS R15-11, eqs. (18)-(26): lambda2 = Lambda rho cp T / mu Z(y) in reduced units,
    // with the reference derivative zeta(T_R, rho) of Table 6 (industrial use, IF97).
    const double rho = 1.0 / s.v;
    const double rb = rho / kRhoc;
    const double Tb = T / kTc;
    const double base = conductivity(T, rho);
    constexpr double kR1511 = 461.51805;  // J/(kg K), R15-11 eq. (6)
    constexpr double A[6][5] = {
        {6.53786807199516, 6.52717759281799, 5.35500529896124, 1.55225959906681, 1.11999926419994},
        {-5.61149954923348, -6.30816983387575, -3.96415689925446, 0.464621290821181,
         0.595748562571649},
        {3.39624167361325, 8.08379285492595, 8.91990208918795, 8.93237374861479, 9.88952565078920},
        {-2.27492629730878, -9.82240510197603, -12.0338729505790, -11.0321960061126,
         -10.3255051147040},
        {10.2631854662709, 12.1358413791395, 9.19494865194302, 6.16780999933360, 4.66861294457414},
        {1.97815050331519, -5.54349664571295, -2.16866274479712, -0.965458722086812,
         -0.503243546373828},
    };
    const int j = rb <= 0.310559006 ? 0 : rb <= 0.776397516 ? 1 : rb <= 1.242236025 ? 2
                : rb <= 1.863354037 ? 3 : 4;
    double inv_zeta_r = 0, ri = 1.0;
    for (int i = 0; i < 6; ++i) {
        inv_zeta_r += A[i][j] * ri;
        ri *= rb;
    }
    const double zeta = s.drho_dp * kPc / kRhoc;
    constexpr double kTR = 1.5;
    const double dchi = rb * (zeta - (1.0 / inv_zeta_r) * kTR / Tb);
    if (!(dchi > 0)) return base;
    constexpr double kLambda = 177.8514, kQd = 1.0 / 0.40, kNu = 0.630, kGamma = 1.239,
                     kXi0 = 0.13, kGamma0 = 0.06;
    const double xi = kXi0 * std::pow(dchi / kGamma0, kNu / kGamma);
    const double y = kQd * xi;
    if (y < 1.2e-7) return base;
    const double kappa_inv = s.cv / s.cp;
    const double Z = 2.0 / (3.14159265358979323846 * y) *
                     ((1.0 - kappa_inv) * std::atan(y) + kappa_inv * y -
                      (1.0 - std::exp(-1.0 / (1.0 / y + y * y / (3.0 * rb * rb)))));
    const double mu_bar = viscosity(T, rho) / 1e-6;
    const double lambda2 = kLambda * rb * (s.cp / kR1511) * Tb / mu_bar * Z;
    return base + 1e-3 * lambda2;
}

double surface_tension(double T) {
    // IAPWS R1-76(2014): sigma = B tau^mu (1 + b tau), tau = 1 - T/Tc,
    // B = 235.8 mN/m, b = -0.625, mu = 1.256.
    const double tau = 1.0 - T / kTc;
    return 235.8e-3 * std::pow(tau, 1.256) * (1.0 - 0.625 * tau);
}

}  // namespace hxq::engines::fluid::if97

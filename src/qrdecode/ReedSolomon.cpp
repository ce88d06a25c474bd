#include "qrdecode/ReedSolomon.h"

#include <algorithm>

namespace pendlar {

TReedSolomon::TReedSolomon() {
    int x = 1;
    for (int i = 0; i < 255; ++i) {
        exp_[i] = static_cast<std::uint8_t>(x);
        exp_[i + 255] = static_cast<std::uint8_t>(x);
        log_[x] = i;
        x <<= 1;
        if (x & 0x100)
            x ^= 0x11D;
    }
    log_[0] = 0; // never used: zero has no logarithm and is handled before every lookup
}

std::uint8_t TReedSolomon::Multiply(std::uint8_t a, std::uint8_t b) const {
    if (a == 0 || b == 0)
        return 0;
    return exp_[log_[a] + log_[b]];
}

std::uint8_t TReedSolomon::Divide(std::uint8_t a, std::uint8_t b) const {
    if (a == 0)
        return 0;
    return exp_[log_[a] + 255 - log_[b]];
}

std::uint8_t TReedSolomon::Power(int exponent) const {
    int e = exponent % 255;
    if (e < 0)
        e += 255;
    return exp_[e];
}

std::uint8_t TReedSolomon::Evaluate(const std::vector<std::uint8_t>& lowFirst,
                                    std::uint8_t x) const {
    std::uint8_t y = 0;
    for (auto it = lowFirst.rbegin(); it != lowFirst.rend(); ++it)
        y = static_cast<std::uint8_t>(Multiply(y, x) ^ *it);
    return y;
}

// S_i = c(α^i) for i = 0 … count − 1; true when all are zero.
bool TReedSolomon::ComputeSyndromes(const std::vector<std::uint8_t>& block, int count) {
    syndromes_.assign(static_cast<std::size_t>(count), 0);
    bool clean = true;
    for (int i = 0; i < count; ++i) {
        const std::uint8_t x = Power(i);
        std::uint8_t s = 0;
        for (std::uint8_t c : block)
            s = static_cast<std::uint8_t>(Multiply(s, x) ^ c);
        syndromes_[static_cast<std::size_t>(i)] = s;
        clean = clean && s == 0;
    }
    return clean;
}

bool TReedSolomon::Correct(std::vector<std::uint8_t>& block, int eccCount, int capacity) {
    positions_.clear();
    const int m = static_cast<int>(block.size());
    if (eccCount <= 0 || eccCount >= m || m > 255)
        return false;
    if (ComputeSyndromes(block, eccCount))
        return true;

    // Berlekamp-Massey: the shortest σ that generates the syndromes.
    std::vector<std::uint8_t> sigma{1}, previous{1};
    int degree = 0;
    int shift = 1;
    std::uint8_t previousDiscrepancy = 1;
    for (int n = 0; n < eccCount; ++n) {
        std::uint8_t d = syndromes_[static_cast<std::size_t>(n)];
        for (int i = 1; i <= degree && i < static_cast<int>(sigma.size()); ++i)
            d ^= Multiply(sigma[static_cast<std::size_t>(i)],
                          syndromes_[static_cast<std::size_t>(n - i)]);
        if (d == 0) {
            ++shift;
            continue;
        }
        const std::uint8_t factor = Divide(d, previousDiscrepancy);
        std::vector<std::uint8_t> next = sigma;
        if (next.size() < previous.size() + static_cast<std::size_t>(shift))
            next.resize(previous.size() + static_cast<std::size_t>(shift), 0);
        for (std::size_t i = 0; i < previous.size(); ++i)
            next[i + static_cast<std::size_t>(shift)] ^= Multiply(factor, previous[i]);
        if (2 * degree <= n) {
            previous = sigma;
            degree = n + 1 - degree;
            previousDiscrepancy = d;
            shift = 1;
        } else {
            ++shift;
        }
        sigma = std::move(next);
    }
    sigma.resize(static_cast<std::size_t>(degree) + 1, 0);
    locator_ = sigma;
    if (degree == 0 || degree > capacity || sigma[static_cast<std::size_t>(degree)] == 0)
        return false;

    // Chien search over the positions inside the block: an error p codewords from the
    // end is a root at α^(−p).
    std::vector<int> powers;
    for (int p = 0; p < m; ++p)
        if (Evaluate(sigma, Power(-p)) == 0)
            powers.push_back(p);
    if (static_cast<int>(powers.size()) != degree)
        return false;

    // Forney, for syndromes starting at α^0: e = X · Ω(X⁻¹) / σ'(X⁻¹) with X = α^p.
    evaluator_.assign(static_cast<std::size_t>(eccCount), 0);
    for (int i = 0; i < eccCount; ++i)
        for (int j = 0; j <= degree && i + j < eccCount; ++j)
            evaluator_[static_cast<std::size_t>(i + j)] ^= Multiply(
                syndromes_[static_cast<std::size_t>(i)], sigma[static_cast<std::size_t>(j)]);
    std::vector<std::uint8_t> derivative(static_cast<std::size_t>(degree), 0);
    for (int i = 1; i <= degree; i += 2)
        derivative[static_cast<std::size_t>(i - 1)] = sigma[static_cast<std::size_t>(i)];

    std::vector<std::uint8_t> corrected = block;
    for (int p : powers) {
        const std::uint8_t inverse = Power(-p);
        const std::uint8_t denominator = Evaluate(derivative, inverse);
        if (denominator == 0)
            return false;
        const std::uint8_t value =
            Multiply(Power(p), Divide(Evaluate(evaluator_, inverse), denominator));
        corrected[static_cast<std::size_t>(m - 1 - p)] ^= value;
    }
    // A correction must leave a codeword; anything else is damage beyond what the block
    // can tell apart, and guessing would misread it.
    if (!ComputeSyndromes(corrected, eccCount))
        return false;
    block = std::move(corrected);
    for (int p : powers)
        positions_.push_back(m - 1 - p);
    std::sort(positions_.begin(), positions_.end());
    return true;
}

} // namespace pendlar

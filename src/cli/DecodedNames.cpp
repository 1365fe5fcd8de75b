#include "cli/DecodedNames.h"

#include "core/codec/Cp949.h"

namespace starfall::cli {

namespace {

DecodedNames*& innermost() {
    static DecodedNames* names = nullptr;
    return names;
}

} // namespace

DecodedNames::DecodedNames() : m_outer(innermost()) {
    innermost() = this;
}

DecodedNames::~DecodedNames() {
    innermost() = m_outer;
}

DecodedNames* DecodedNames::current() {
    return innermost();
}

const std::string& DecodedNames::utf8(std::string_view cp949) {
    if (const auto found = m_texts.find(cp949); found != m_texts.end())
        return found->second;
    if (m_texts.size() >= kKept)
        m_texts.clear();
    return m_texts.emplace(std::string(cp949), cp949::toUtf8(cp949)).first->second;
}

} // namespace starfall::cli

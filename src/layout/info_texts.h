#pragma once
// The explanations behind the small "i" labels (lbl_info), Windows-1252 with CR LF breaks.
#include <array>
#include <string>
#include <string_view>

namespace vorsa {

inline constexpr std::string_view kTitoloInfo = "INFO POINT";

/// The labels that exist: there is no lbl_info(7).
inline constexpr std::array<int, 9> kIndiciInfo{0, 1, 2, 3, 4, 5, 6, 8, 9};

/// Text of lbl_info(indice); empty for a label that does not exist. The password labels name
/// `filePassword`, the file the passwords are kept in.
std::string TestoInfo(int indice, const std::string& filePassword);

}  // namespace vorsa

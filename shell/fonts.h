#pragma once
// The form fonts are Windows fonts; each is mapped to installed fonts that hold the same
// scripts (Chinese serif, Chinese clerical, Latin sans and serif).
namespace vantelo::shell {

void install_font_substitutions();

}  // namespace vantelo::shell

#pragma once
// Colour rules that keep a text readable on its background. Colours are 0xRRGGBB; a negative
// colour stands for the platform's button face, taken as light grey.
namespace vorsa {

/// Contrast ratio of two colours as the accessibility guidelines define it: 1 (same) to 21
/// (black on white).
double Contrasto(int a, int b);

/// `testo` itself when it reaches `minimo` on `sfondo`; otherwise `testo` blended toward black
/// or toward white just far enough, so a dark red stays reddish and a grey stays greyish.
int ColoreLeggibile(int testo, int sfondo, double minimo = 4.5);

}  // namespace vorsa

\version "2.24.0"
\header {
  title = "Muhammes"
  tagline = ##f
}

% Düm and Tek as drum notes on the two lines of the staff.
drumPitchNames.dum = #'dum
drumPitchNames.tek = #'tek
usulStyle = #(alist->hash-table '((dum default #f 1) (tek default #f -1)))

usul = \drummode {
  \time 4,4,4,4,4,4,4,4 32/4
  \tempo 4 = 84
  \stemUp dum2\f dum4\mf \stemDown tek4\p \bar "!"
  \stemUp dum2\f \stemDown tek2\mf \bar "!"
  \stemUp dum2\f dum2\mf \bar "!"
  \stemDown tek2\f \stemUp dum4\mf \stemDown tek4\p \bar "!"
  \stemUp dum2\f \stemDown tek2\mf \bar "!"
  \stemUp dum4\mf \stemDown tek4\p \stemUp dum2\f \bar "!"
  \stemDown tek2\f \stemUp dum2\mf \bar "!"
  dum4\f \stemDown tek4\p \stemUp dum4\mf \stemDown tek4\p \bar "|."
}

syllables = \lyricmode {
  "Düm" "Te" "Ke" "Düm" "Tek" "Düm" "Düm" "Tek" "Te" "Ke" "Düm" "Tek" "Te" "Ke" "Düm" "Ta" "Hek" "Te" "Ke" "Te" "Ke" 
}

\score {
  <<
    \new DrumStaff \with {
      \override StaffSymbol.line-count = #2
      drumStyleTable = #usulStyle
    } \new DrumVoice = "usul" { \autoBeamOff \dynamicUp \usul }
    \new Lyrics \lyricsto "usul" \syllables
  >>
  \layout { ragged-right = ##f }
}

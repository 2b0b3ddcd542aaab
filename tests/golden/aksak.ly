\version "2.24.0"
\header {
  title = "Aksak"
  tagline = ##f
}

% Düm and Tek as drum notes on the two lines of the staff.
drumPitchNames.dum = #'dum
drumPitchNames.tek = #'tek
usulStyle = #(alist->hash-table '((dum default #f 1) (tek default #f -1)))

usul = \drummode {
  \once \override Staff.TimeSignature.stencil = #(lambda (grob) (grob-interpret-markup grob #{ \markup \compound-meter #'((2 2 2 3 8)) #}))
  \time 2,2,2,3 9/8
  \tempo 8 = 120
  \stemUp dum4\f \bar "!"
  dum8\mf \stemDown tek8\p \bar "!"
  \stemUp dum4\f \bar "!"
  \stemDown tek4\mf tek8\p \bar "|."
}

syllables = \lyricmode {
  "Düm" "Te" "Ke" "Düm" "Tek" "Tek" 
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

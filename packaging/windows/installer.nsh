; The installer's own part, included by the script CPack writes (package.cmake): its branding line,
; and its offer to start the program when the user signs in. The installer runs elevated, so the
; shortcut goes to the Startup folder of every user: a Run value of the current user would land in
; the administrator's profile.

BrandingText "Kelto Zelbo Break"

; A box on the last page, checked at first; leaving the page with it checked places the shortcut.
; A silent install shows no page and places it from the install section (package.cmake).
!define MUI_FINISHPAGE_SHOWREADME ""
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Start Kelto Zelbo Break when I sign in"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION StartAtSignIn

Function StartAtSignIn
  SetShellVarContext all
  CreateShortCut "$SMSTARTUP\Kelto Zelbo Break.lnk" "$INSTDIR\kelto-zelbo-break.exe"
FunctionEnd

Function un.StopStartingAtSignIn
  SetShellVarContext all
  Delete "$SMSTARTUP\Kelto Zelbo Break.lnk"
FunctionEnd

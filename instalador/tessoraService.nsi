; The installer of tessora Service: the program and its updater into the folder the user
; picks (the ERP's program folder, where the program finds the ERP's INI files), an
; uninstaller and its entry in Add/Remove Programs. The uninstaller removes only the files
; this installer wrote: the ERP's files, and the settings and history the program keeps
; beside itself, stay. Silent: /S, with /D=folder as the last parameter.
;
; Defined by the build: ALVO (x86-unicode or amd64-unicode), ARQUIVOS (the folder holding
; tessoraService.exe and tessoraAtualizador.exe to install) and SAIDA (the installer to write).

Unicode true
Target ${ALVO}
SetCompressor /SOLID lzma

!include "MUI2.nsh"

!define NOME "tessora Service"
!define DESINSTALADOR "Desinstalar tessoraService.exe"
!define CHAVE_DESINSTALACAO "Software\Microsoft\Windows\CurrentVersion\Uninstall\tessoraService"

Name "${NOME}"
OutFile "${SAIDA}"
RequestExecutionLevel admin
ManifestSupportedOS all
; A new install goes where the last one went.
InstallDirRegKey HKLM "${CHAVE_DESINSTALACAO}" "InstallLocation"
!if "${ALVO}" == "amd64-unicode"
InstallDir "$PROGRAMFILES64\${NOME}"
!else
InstallDir "$PROGRAMFILES\${NOME}"
!endif

!define MUI_ABORTWARNING
!define MUI_DIRECTORYPAGE_TEXT_TOP "Escolha a pasta de programas do ERP: o ${NOME} encontra os arquivos INI do ERP na pasta em que está instalado."
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "PortugueseBR"

; The registry view of the program's own architecture, so that the entry is found again.
!macro VisaoRegistro
!if "${ALVO}" == "amd64-unicode"
  SetRegView 64
!endif
!macroend

Function .onInit
  !insertmacro VisaoRegistro
FunctionEnd

Function un.onInit
  !insertmacro VisaoRegistro
FunctionEnd

Section
  SetOutPath "$INSTDIR"
  File "${ARQUIVOS}/tessoraService.exe"
  File "${ARQUIVOS}/tessoraAtualizador.exe"
  WriteUninstaller "$INSTDIR\${DESINSTALADOR}"
  WriteRegStr HKLM "${CHAVE_DESINSTALACAO}" "DisplayName" "${NOME}"
  WriteRegStr HKLM "${CHAVE_DESINSTALACAO}" "DisplayIcon" "$INSTDIR\tessoraService.exe"
  WriteRegStr HKLM "${CHAVE_DESINSTALACAO}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${CHAVE_DESINSTALACAO}" "UninstallString" '"$INSTDIR\${DESINSTALADOR}"'
  WriteRegStr HKLM "${CHAVE_DESINSTALACAO}" "QuietUninstallString" '"$INSTDIR\${DESINSTALADOR}" /S'
  WriteRegDWORD HKLM "${CHAVE_DESINSTALACAO}" "NoModify" 1
  WriteRegDWORD HKLM "${CHAVE_DESINSTALACAO}" "NoRepair" 1
SectionEnd

; The uninstaller's own file goes last: once it is gone, the uninstallation is done.
Section "Uninstall"
  DeleteRegKey HKLM "${CHAVE_DESINSTALACAO}"
  Delete "$INSTDIR\tessoraService.exe"
  Delete "$INSTDIR\tessoraAtualizador.exe"
  Delete "$INSTDIR\${DESINSTALADOR}"
  ; Removed only when nothing else is left in it: it is normally the ERP's folder.
  RMDir "$INSTDIR"
SectionEnd

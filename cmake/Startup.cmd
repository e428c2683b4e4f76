@echo off
rem Installs the adapter's driver once on this computer (Setup.exe) and patches its network
rem adapters (Halvex.exe), from a folder that holds both packages side by side:
rem   x86\  the x86 package with the adapter maker's 32-bit driver files (W9X90XBC.INF ...)
rem   x64\  the x64 package with the adapter maker's 64-bit driver files
rem Give either package's Startup.cmd as a computer start-up script, or run it once as an
rem administrator. It copies the package for this computer's Windows to %SystemRoot%\Halvex and
rem goes on from that copy: Setup restarts the adapter through which the share may be reached,
rem and cmd reads a batch file line by line as it runs.
rem Exit codes: 0 done (now or before), 1 unknown processor, 2 no readable package folder,
rem 3 copy failed, 4 marker not written, 5 settings copy failed, 6 Halvex.exe failed.
setlocal EnableExtensions
set dest=%SystemRoot%\Halvex
if exist "%dest%\done.txt" goto done
if /i "%~dp0"=="%dest%\" goto install

rem A 32-bit cmd on 64-bit Windows sees x86, and the machine's own processor in the second name.
set machine=%PROCESSOR_ARCHITECTURE%
if defined PROCESSOR_ARCHITEW6432 set machine=%PROCESSOR_ARCHITEW6432%
set arch=
if /i "%machine%"=="x86" set arch=x86
if /i "%machine%"=="AMD64" set arch=x64
if not defined arch goto unknownProcessor

for %%i in ("%~dp0..\%arch%") do set package=%%~fi
set missing=
for %%f in (Setup.exe Halvex.exe Startup.cmd W9X90XBC.INF) do if not defined missing if not exist "%package%\%%f" set missing=%%f
if defined missing goto noPackage

rem Nothing answers a question here: input is empty, so none can wait.
xcopy "%package%" "%dest%\" /e /i /q /y <nul >nul 2>&1
if errorlevel 1 goto copyFailed
rem Without "call", cmd reads no further line of this file: the local copy ends the run.
"%dest%\Startup.cmd"
goto copyFailed

:install
rem Nothing started from here keeps the share as its current folder.
cd /d "%dest%"
rem Written before Setup starts: a run stopped during Setup must not start it again.
if exist "%dest%\setup-started.txt" goto settings
echo Setup.exe started %DATE% %TIME%.>"%dest%\setup-started.txt"
if not exist "%dest%\setup-started.txt" goto noMarker
"%dest%\Setup.exe"

:settings
rem The adapters' settings as Setup left them, before Halvex changes them; a copy that a stopped
rem run made stays, since Halvex may have changed some of them since.
if exist "%dest%\adapters-before.reg" goto patch
if exist "%dest%\adapters-before.tmp" del "%dest%\adapters-before.tmp"
"%SystemRoot%\regedit.exe" /e "%dest%\adapters-before.tmp" "HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Class\{4D36E972-E325-11CE-BFC1-08002BE10318}"
ren "%dest%\adapters-before.tmp" adapters-before.reg 2>nul
if not exist "%dest%\adapters-before.reg" goto noSettingsCopy

:patch
"%dest%\Halvex.exe"
if errorlevel 1 goto halvexFailed
echo Setup.exe and Halvex.exe ran %DATE% %TIME%.>"%dest%\done.txt"

:done
echo %~nx0: done; the adapters' settings from before Halvex are in %dest%\adapters-before.reg
exit /b 0

:unknownProcessor
echo %~nx0: no package for this computer's processor, "%machine%"; nothing changed
exit /b 1
:noPackage
echo %~nx0: no package for %arch% here: cannot read "%package%\%missing%"; nothing changed
exit /b 2
:copyFailed
echo %~nx0: cannot copy "%package%" to "%dest%"; nothing run
exit /b 3
:noMarker
echo %~nx0: cannot write "%dest%\setup-started.txt"; Setup.exe not run
exit /b 4
:noSettingsCopy
echo %~nx0: cannot copy the adapters' settings to "%dest%\adapters-before.reg"; Halvex.exe not run
exit /b 5
:halvexFailed
echo %~nx0: Halvex.exe failed; the adapters' settings from before it are in %dest%\adapters-before.reg
exit /b 6

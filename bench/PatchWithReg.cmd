@echo off
rem The patch pass as an administrator would script it with reg.exe alone: list the network
rem adapter instances, and set EnhLANPwrMgmt to the string 1 on each one that has the value.
rem (Wine's cmd runs the right side of && whatever the exit code, so errorlevel is tested.)
set CLASS=HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Class\{4D36E972-E325-11CE-BFC1-08002BE10318}
for /f "delims=" %%k in ('reg query "%CLASS%"') do (
    reg query "%%k" /v EnhLANPwrMgmt >nul 2>&1
    if not errorlevel 1 reg add "%%k" /v EnhLANPwrMgmt /t REG_SZ /d 1 /f >nul 2>&1
)

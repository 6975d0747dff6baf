@echo off
rem Удаляет плагин zaDode: с папкой плагинов NeoBook (первый параметр) удаляет из неё
rem zaDode.nbp, zaDode.chm и zaDode-en.chm; всегда удаляет путь справки из реестра текущего пользователя и
rem ключи Tessoran, которые после этого остались пустыми. Папку, которой нет, не трогает.
rem Every message comes in Russian, then in English (see install.cmd).
rem As in install.cmd: every step checked on a line of its own, no bracketed blocks, and no
rem folder in a line that "if" runs (Wine's cmd ends the command at the ")" of "(x86)").
setlocal
set "pausing="
if "%~1"=="" set "pausing=1"
set "result=1"
set "target=%~1"
if "%target%"=="" goto registry
for %%I in ("%target%") do set "target=%%~fI"
if "%target:~-1%"=="\" set "target=%target:~0,-1%"
if not exist "%target%\" goto no_folder
set "found="
call :remove "%target%\zaDode.nbp"
if errorlevel 1 goto delete_failed
call :remove "%target%\zaDode.chm"
if errorlevel 1 goto delete_failed
call :remove "%target%\zaDode-en.chm"
if errorlevel 1 goto delete_failed
if defined found goto registry
echo В папке %target% нет файлов zaDode.nbp, zaDode.chm и zaDode-en.chm.
echo %target% holds none of zaDode.nbp, zaDode.chm and zaDode-en.chm.

:registry
reg query "HKCU\Software\Tessoran\Vellmark\zaDode" /v HelpFile >nul 2>&1
if errorlevel 1 goto no_value
reg delete "HKCU\Software\Tessoran\Vellmark\zaDode" /v HelpFile /f >nul 2>&1
echo Путь справки удалён из реестра пользователя %USERNAME%.
echo Removed the help path from the registry of user %USERNAME%.
goto keys
:no_value
echo В реестре пользователя %USERNAME% пути справки zaDode нет.
echo The registry of user %USERNAME% holds no zaDode help path.
:keys
call :remove_if_empty "Software\Tessoran\Vellmark\zaDode"
call :remove_if_empty "Software\Tessoran\Vellmark"
call :remove_if_empty "Software\Tessoran"
set "result=0"
if not "%target%"=="" goto restart
echo Файлы не удалялись: чтобы удалить zaDode.nbp и справку, укажите папку плагинов NeoBook.
echo No files were removed: to remove zaDode.nbp and the help, give the NeoBook plug-in folder.
goto finish
:restart
echo Перезапустите NeoBook.
echo Restart NeoBook.
goto finish

:no_folder
echo Папки "%target%" нет. Ничего не удалено.
echo The folder "%target%" does not exist. Nothing was removed.
goto finish

:delete_failed
echo Не удалось удалить %failed%: закройте NeoBook и запустите uninstall.cmd ещё раз.
echo Could not remove %failed%: close NeoBook and run uninstall.cmd again.
goto finish

:finish
if defined pausing pause
exit /b %result%

:remove
if not exist "%~1" exit /b 0
set "found=1"
del /q "%~1" 2>nul
set "failed=%~1"
if exist "%~1" exit /b 1
echo Удалён %~1
echo Removed %~1
exit /b 0

rem Deletes HKCU\%1 when "reg query" lists nothing but the key's own name.
:remove_if_empty
set "occupied="
for /f "usebackq tokens=*" %%L in (`reg query "HKCU\%~1" 2^>nul`) do if /i not "%%L"=="HKEY_CURRENT_USER\%~1" set "occupied=1"
if not defined occupied reg delete "HKCU\%~1" /f >nul 2>&1
exit /b 0

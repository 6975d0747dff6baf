@echo off
rem Устанавливает плагин zaDode: копирует zaDode.nbp и справку (zaDode.chm, русскую, и
rem zaDode-en.chm, английскую) в папку плагинов NeoBook (первый параметр) и записывает путь
rem русской справки в реестр текущего пользователя; английскую плагин находит рядом с ней. Права
rem администратора для реестра не нужны. Папку, которой нет, не создаёт. Без папки только
rem регистрирует справку там, где она лежит, и говорит, что делать с zaDode.nbp.
rem Every message comes in Russian, then in English: the console of a Windows whose code page
rem is not Russian shows no Cyrillic, and that is where the English edition is used.
rem Wine's cmd runs both branches of "&&" and "||" after some commands: every step is checked
rem with "if errorlevel" on a line of its own, and no block is bracketed, since a folder such
rem as "Program Files (x86)" would end it.
setlocal
set "source=%~dp0"
set "key=HKCU\Software\Tessoran\Vellmark\zaDode"
set "example=C:\Program Files (x86)\NeoBook\PlugIns"
set "result=1"
rem Explorer starts a double-clicked script without a folder: keep its window open at the end.
set "pausing="
if "%~1"=="" set "pausing=1"
set "target=%~1"
if "%target%"=="" goto help_only
for %%I in ("%target%") do set "target=%%~fI"
if "%target:~-1%"=="\" set "target=%target:~0,-1%"
if not exist "%target%\" goto no_folder
if /i "%source%"=="%target%\" goto in_place
copy /y "%source%zaDode.nbp" "%target%\zaDode.nbp" >nul
if errorlevel 1 goto nbp_failed
copy /y "%source%zaDode.chm" "%target%\zaDode.chm" >nul
if errorlevel 1 goto chm_failed
copy /y "%source%zaDode-en.chm" "%target%\zaDode-en.chm" >nul
if errorlevel 1 goto chm_failed
echo zaDode.nbp, zaDode.chm и zaDode-en.chm скопированы в папку %target%
echo Copied zaDode.nbp, zaDode.chm and zaDode-en.chm into %target%
goto register

:in_place
echo zaDode.nbp, zaDode.chm и zaDode-en.chm уже лежат в папке %target%
echo zaDode.nbp, zaDode.chm and zaDode-en.chm are already in %target%
goto register

:help_only
set "target=%source:~0,-1%"
if not exist "%target%\zaDode.chm" goto no_help
reg add "%key%" /v HelpFile /t REG_SZ /d "%target%\zaDode.chm" /f >nul
if errorlevel 1 goto register_failed
echo Справка зарегистрирована для пользователя %USERNAME%: %target%\zaDode.chm
echo Плагин НЕ установлен: скопируйте zaDode.nbp в папку плагинов NeoBook
echo (например "%example%") или запустите install.cmd с этой папкой:
echo Help registered for user %USERNAME%: %target%\zaDode.chm
echo The plug-in is NOT installed: copy zaDode.nbp into the NeoBook plug-in folder
echo (for example "%example%") or run install.cmd with that folder:
echo   install.cmd "%example%"
set "result=0"
goto finish

:register
reg add "%key%" /v HelpFile /t REG_SZ /d "%target%\zaDode.chm" /f >nul
if errorlevel 1 goto register_failed
echo Справка зарегистрирована для пользователя %USERNAME%: %target%\zaDode.chm
echo Перезапустите NeoBook.
echo Help registered for user %USERNAME%: %target%\zaDode.chm
echo Restart NeoBook.
set "result=0"
goto finish

:no_folder
echo Папки "%target%" нет. Ничего не установлено.
echo Укажите существующую папку плагинов NeoBook, например:
echo The folder "%target%" does not exist. Nothing was installed.
echo Give an existing NeoBook plug-in folder, for example:
echo   install.cmd "%example%"
goto finish

:no_help
echo Рядом с install.cmd нет zaDode.chm. Ничего не установлено: распакуйте архив целиком.
echo zaDode.chm is not beside install.cmd. Nothing was installed: unpack the whole package.
goto finish

:nbp_failed
echo Не удалось скопировать zaDode.nbp в папку %target%. Ничего не установлено.
echo Закройте NeoBook; для Program Files запустите командную строку от имени администратора.
echo Could not copy zaDode.nbp into %target%. Nothing was installed.
echo Close NeoBook; for Program Files run the command prompt as administrator.
goto finish

:chm_failed
echo zaDode.nbp скопирован в папку %target%, но справку скопировать не удалось,
echo и справка не зарегистрирована. Закройте справку и запустите install.cmd ещё раз.
echo zaDode.nbp was copied into %target%, but the help could not be copied
echo and is not registered. Close the help and run install.cmd again.
goto finish

:register_failed
echo Не удалось записать путь справки в реестр (%key%, значение HelpFile).
echo Плагин работает, но кнопка "Справка" и F1 справку не откроют.
echo Could not write the help path into the registry (%key%, value HelpFile).
echo The plug-in works, but the Help button and F1 will not open the help.
goto finish

:finish
if defined pausing pause
exit /b %result%

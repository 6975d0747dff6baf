@echo off
rem Устанавливает плагин zaDode: копирует zaDode.nbp и справку (zaDode.chm, русскую, и
rem zaDode-en.chm, английскую) в папку плагинов NeoBook (первый параметр) и записывает путь
rem русской справки в реестр текущего пользователя; английскую плагин находит рядом с ней. Права
rem администратора для реестра не нужны. Папку, которой нет, не создаёт. Без папки только
rem регистрирует справку там, где она лежит, и говорит, что делать с zaDode.nbp.
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
goto register

:in_place
echo zaDode.nbp, zaDode.chm и zaDode-en.chm уже лежат в папке %target%
goto register

:help_only
set "target=%source:~0,-1%"
if not exist "%target%\zaDode.chm" goto no_help
reg add "%key%" /v HelpFile /t REG_SZ /d "%target%\zaDode.chm" /f >nul
if errorlevel 1 goto register_failed
echo Справка зарегистрирована для пользователя %USERNAME%: %target%\zaDode.chm
echo Плагин НЕ установлен: скопируйте zaDode.nbp в папку плагинов NeoBook
echo (например "%example%") или запустите install.cmd с этой папкой:
echo   install.cmd "%example%"
set "result=0"
goto finish

:register
reg add "%key%" /v HelpFile /t REG_SZ /d "%target%\zaDode.chm" /f >nul
if errorlevel 1 goto register_failed
echo Справка зарегистрирована для пользователя %USERNAME%: %target%\zaDode.chm
echo Перезапустите NeoBook.
set "result=0"
goto finish

:no_folder
echo Папки "%target%" нет. Ничего не установлено.
echo Укажите существующую папку плагинов NeoBook, например:
echo   install.cmd "%example%"
goto finish

:no_help
echo Рядом с install.cmd нет zaDode.chm. Ничего не установлено: распакуйте архив целиком.
goto finish

:nbp_failed
echo Не удалось скопировать zaDode.nbp в папку %target%. Ничего не установлено.
echo Закройте NeoBook; для Program Files запустите командную строку от имени администратора.
goto finish

:chm_failed
echo zaDode.nbp скопирован в папку %target%, но справку скопировать не удалось,
echo и справка не зарегистрирована. Закройте справку и запустите install.cmd ещё раз.
goto finish

:register_failed
echo Не удалось записать путь справки в реестр (%key%, значение HelpFile).
echo Плагин работает, но кнопка "Справка" и F1 справку не откроют.
goto finish

:finish
if defined pausing pause
exit /b %result%

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>ErrorReport</name>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Недостаточно памяти для выполнения команды</source>
        <translation>Not enough memory to carry out the command</translation>
    </message>
    <message>
        <source>Внутренняя ошибка программы: </source>
        <translation>Internal error of the program: </translation>
    </message>
</context>
<context>
    <name>PatternExport</name>
    <message>
        <source>Чертежи DXF (*.dxf);;Все файлы (*)</source>
        <translation>DXF drawings (*.dxf);;All files (*)</translation>
    </message>
    <message>
        <source>Экспорт в DXF</source>
        <translation>Export to DXF</translation>
    </message>
    <message>
        <source>Рисунки SVG (*.svg);;Все файлы (*)</source>
        <translation>SVG pictures (*.svg);;All files (*)</translation>
    </message>
    <message>
        <source>Экспорт в SVG</source>
        <translation>Export to SVG</translation>
    </message>
    <message>
        <source>Документы PDF (*.pdf);;Все файлы (*)</source>
        <translation>PDF documents (*.pdf);;All files (*)</translation>
    </message>
    <message>
        <source>PDF в натуральную величину</source>
        <translation>Full-size PDF</translation>
    </message>
    <message>
        <source>Печать в натуральную величину</source>
        <translation>Full-size print</translation>
    </message>
    <message>
        <source>%1 %2 — печатать?</source>
        <translation>%1 %2: print?</translation>
    </message>
    <message>
        <source>Бумага:</source>
        <translation>Paper:</translation>
    </message>
    <message>
        <source>Печать в натуральную величину — 100 %, листов %1 (+ схема)</source>
        <translation>Full-size print: 100 %, %1 sheets (+ layout plan)</translation>
    </message>
</context>
<context>
    <name>ProjectExport</name>
    <message>
        <source>Внимание: контур развертки пересекает сам себя (слишком большое смещение); записан как нарисован</source>
        <translation>Warning: the development&apos;s outline crosses itself (the offset is too large); written as drawn</translation>
    </message>
</context>
<context>
    <name>ProjectFileDialogs</name>
    <message>
        <source>Файлы разверток (*.raz);;Все файлы (*.*)</source>
        <translation>Development files (*.raz);;All files (*.*)</translation>
    </message>
    <message>
        <source>Открыть проект</source>
        <translation>Open project</translation>
    </message>
    <message>
        <source>Сохранить проект</source>
        <translation>Save project</translation>
    </message>
</context>
<context>
    <name>QFileDialog</name>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 already exists.
Do you want to replace it?</translation>
    </message>
</context>
<context>
    <name>Questions</name>
    <message>
        <source>«%1»</source>
        <translation>“%1”</translation>
    </message>
    <message>
        <source> и </source>
        <translation> and </translation>
    </message>
    <message>
        <source>Сохранить изменения в %1?</source>
        <translation>Save the changes to %1?</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Не сохранять</source>
        <translation>Don&apos;t save</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TAboutForm</name>
    <message>
        <source>Винталер 1.0</source>
        <translation>Vintaler 1.0</translation>
    </message>
    <message>
        <source>Развертка перехода с прямоугольного сечения на круглое</source>
        <translation>Development of a transition from a rectangular section to a round one</translation>
    </message>
    <message>
        <source>О программе</source>
        <translation>About</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>Винталер 1.0</source>
        <translation>Vintaler 1.0</translation>
    </message>
    <message>
        <source>В&amp;ыход</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>Выход из программы</source>
        <translation>Exit the program</translation>
    </message>
    <message>
        <source>&amp;Новый</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>Создает новый проект</source>
        <translation>Creates a new project</translation>
    </message>
    <message>
        <source>&amp;Открыть</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>Открывает файл проекта</source>
        <translation>Opens a project file</translation>
    </message>
    <message>
        <source>&amp;Сохранить</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>Сохраняет файл проекта</source>
        <translation>Saves the project file</translation>
    </message>
    <message>
        <source>&amp;О программе</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>Информация о программе</source>
        <translation>About the program</translation>
    </message>
    <message>
        <source>&amp;Каскадом</source>
        <translation>&amp;Cascade</translation>
    </message>
    <message>
        <source>Располагает все окна каскадом</source>
        <translation>Arranges all windows in a cascade</translation>
    </message>
    <message>
        <source>&amp;Горизонтально</source>
        <translation>Tile &amp;horizontally</translation>
    </message>
    <message>
        <source>Располагает все окна горизонтально</source>
        <translation>Arranges all windows one above the other</translation>
    </message>
    <message>
        <source>&amp;Вертикально</source>
        <translation>Tile &amp;vertically</translation>
    </message>
    <message>
        <source>Располагает все окна вертикально</source>
        <translation>Arranges all windows side by side</translation>
    </message>
    <message>
        <source>&amp;Минимизировать все</source>
        <translation>&amp;Minimize all</translation>
    </message>
    <message>
        <source>Минимизирует все окна</source>
        <translation>Minimizes all windows</translation>
    </message>
    <message>
        <source>&amp;Закрыть</source>
        <translation>C&amp;lose</translation>
    </message>
    <message>
        <source>Закрывает окно проекта</source>
        <translation>Closes the project window</translation>
    </message>
    <message>
        <source>&amp;Файл</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Окно</source>
        <translation>&amp;Window</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot; не найден; он убран из списка последних проектов.</source>
        <translation>File &quot;%1&quot; not found; it was removed from the list of recent projects.</translation>
    </message>
</context>
<context>
    <name>TProParamsForm</name>
    <message>
        <source>по внутренней</source>
        <translation>inside</translation>
    </message>
    <message>
        <source>по наружной</source>
        <translation>outside</translation>
    </message>
    <message>
        <source>по средней</source>
        <translation>mean</translation>
    </message>
    <message>
        <source>Параметры построения</source>
        <translation>Construction parameters</translation>
    </message>
    <message>
        <source>Квадранты прямоугольного сечения</source>
        <translation>Quadrants of the rectangular section</translation>
    </message>
    <message>
        <source>Число разбиений одного квдранта</source>
        <translation>Divisions of one quadrant</translation>
    </message>
    <message>
        <source>Показывать сетку</source>
        <translation>Show the grid</translation>
    </message>
    <message>
        <source>Лист</source>
        <translation>Plate</translation>
    </message>
    <message>
        <source>Толщина t, мм</source>
        <translation>Thickness t, mm</translation>
    </message>
    <message>
        <source>Прямоугольник</source>
        <translation>Rectangle</translation>
    </message>
    <message>
        <source>Круг</source>
        <translation>Circle</translation>
    </message>
    <message>
        <source>Материал</source>
        <translation>Material</translation>
    </message>
    <message>
        <source>Плотность, кг/м³</source>
        <translation>Density, kg/m³</translation>
    </message>
    <message>
        <source>Развертка строится по средней поверхности листа</source>
        <translation>The development is laid out on the plate&apos;s mean surface</translation>
    </message>
    <message>
        <source>По какой поверхности листа заданы стороны A и B</source>
        <translation>Which surface of the plate sides A and B are measured on</translation>
    </message>
    <message>
        <source>По какой поверхности листа задан радиус R</source>
        <translation>Which surface of the plate radius R is measured on</translation>
    </message>
    <message>
        <source>Страница результатов и рисунки всегда показывают развертку по таблицам.
Выбор определяет, что вырезают экспортированные файлы
и что измеряют размеры для разметки</source>
        <translation>The results page and the pictures always show the tables&apos; development.
The choice decides what the exported files cut
and what the marking-out figures measure</translation>
    </message>
    <message>
        <source>Развертка для раскроя</source>
        <translation>Development to cut</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Толщина листа должна быть числом</source>
        <translation>The plate&apos;s thickness must be a number</translation>
    </message>
    <message>
        <source>Плотность материала должна быть числом</source>
        <translation>The material&apos;s density must be a number</translation>
    </message>
    <message>
        <source>Число разбиений должно быть от 1 до %1</source>
        <translation>The number of divisions must be from 1 to %1</translation>
    </message>
    <message>
        <source>Толщина t, дюймы</source>
        <translation>Thickness t, in</translation>
    </message>
</context>
<context>
    <name>TSetupDrawForm</name>
    <message>
        <source>%1: «%2» не является числом</source>
        <translation>%1: &quot;%2&quot; is not a number</translation>
    </message>
    <message>
        <source>Область рисования</source>
        <translation>Drawing area</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TShemaForm</name>
    <message>
        <source>Схема размеров развертки</source>
        <translation>Scheme of the development&apos;s dimensions</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Печатать</source>
        <translation>Print</translation>
    </message>
</context>
<context>
    <name>TWorkForm</name>
    <message>
        <source>Проект (%1)[*]</source>
        <translation>Project (%1)[*]</translation>
    </message>
</context>
<context>
    <name>TWorkFormUi</name>
    <message>
        <source>Сторона А прямоугольного сечения</source>
        <translation>Side A of the rectangle</translation>
    </message>
    <message>
        <source>Сторона B прямоугольного сечения</source>
        <translation>Side B of the rectangle</translation>
    </message>
    <message>
        <source>Радиус R круглого сечения</source>
        <translation>Radius R of the circle</translation>
    </message>
    <message>
        <source>Расстояние L между сечениями</source>
        <translation>Distance L between the ends</translation>
    </message>
    <message>
        <source>Смещение X1 осей сечений</source>
        <translation>Offset X1 of the axes</translation>
    </message>
    <message>
        <source>Смещение Y1 осей сечений</source>
        <translation>Offset Y1 of the axes</translation>
    </message>
    <message>
        <source>&amp;3-мерный вид</source>
        <translation>&amp;3D view</translation>
    </message>
    <message>
        <source>Показывает 3-мерный вид системы</source>
        <translation>Shows the 3D view of the transition</translation>
    </message>
    <message>
        <source>&amp;Развертка</source>
        <translation>&amp;Development</translation>
    </message>
    <message>
        <source>Показывает развертку поверхности перехода</source>
        <translation>Shows the development of the transition surface</translation>
    </message>
    <message>
        <source>&amp;Численные результаты</source>
        <translation>&amp;Numeric results</translation>
    </message>
    <message>
        <source>Показывает численные результаты расчета развертки</source>
        <translation>Shows the numeric results of the development</translation>
    </message>
    <message>
        <source>Ра&amp;змеры для разметки</source>
        <translation>Marking-out &amp;figures</translation>
    </message>
    <message>
        <source>Показывает истинные длины, площади и массу развертки для разметки</source>
        <translation>Shows the true lengths, areas and mass of the development for marking out</translation>
    </message>
    <message>
        <source>Параметры &amp;системы</source>
        <translation>&amp;Transition parameters</translation>
    </message>
    <message>
        <source>Панель параметров системы</source>
        <translation>Panel of the transition parameters</translation>
    </message>
    <message>
        <source>Параметры области р&amp;исования</source>
        <translation>Dra&amp;wing area parameters</translation>
    </message>
    <message>
        <source>Настройка параметров области рисования</source>
        <translation>Sets up the drawing area</translation>
    </message>
    <message>
        <source>Параметры &amp;построения</source>
        <translation>Con&amp;struction parameters</translation>
    </message>
    <message>
        <source>Параметры построения развертки</source>
        <translation>Parameters of the development&apos;s construction</translation>
    </message>
    <message>
        <source>Р&amp;аскрой…</source>
        <translation>C&amp;utting…</translation>
    </message>
    <message>
        <source>Развертка для раскроя, швы и припуски</source>
        <translation>The development to cut, seams and allowances</translation>
    </message>
    <message>
        <source>&amp;Обновить</source>
        <translation>&amp;Refresh</translation>
    </message>
    <message>
        <source>Обновляет изображение</source>
        <translation>Redraws the picture</translation>
    </message>
    <message>
        <source>П&amp;ечатать</source>
        <translation>&amp;Print</translation>
    </message>
    <message>
        <source>Печатает содержимое окна</source>
        <translation>Prints the window&apos;s contents</translation>
    </message>
    <message>
        <source>Сдвинуть в&amp;лево</source>
        <translation>Scroll &amp;left</translation>
    </message>
    <message>
        <source>Сдвигает область рисования влево</source>
        <translation>Scrolls the drawing area left</translation>
    </message>
    <message>
        <source>Сдвинуть впр&amp;аво</source>
        <translation>Scroll &amp;right</translation>
    </message>
    <message>
        <source>Сдвигает область рисования вправо</source>
        <translation>Scrolls the drawing area right</translation>
    </message>
    <message>
        <source>Сдвинуть вв&amp;ерх</source>
        <translation>Scroll &amp;up</translation>
    </message>
    <message>
        <source>Сдвигает область рисования вверх</source>
        <translation>Scrolls the drawing area up</translation>
    </message>
    <message>
        <source>Сдвинуть вн&amp;из</source>
        <translation>Scroll do&amp;wn</translation>
    </message>
    <message>
        <source>Сдвигает область рисования вниз</source>
        <translation>Scrolls the drawing area down</translation>
    </message>
    <message>
        <source>&amp;Приблизить</source>
        <translation>Zoom &amp;in</translation>
    </message>
    <message>
        <source>Приближает область рисования</source>
        <translation>Zooms the drawing area in</translation>
    </message>
    <message>
        <source>&amp;Отдалить</source>
        <translation>Zoom &amp;out</translation>
    </message>
    <message>
        <source>Отдаляет область рисования</source>
        <translation>Zooms the drawing area out</translation>
    </message>
    <message>
        <source>Автоматическое &amp;масштабирование</source>
        <translation>&amp;Automatic scale</translation>
    </message>
    <message>
        <source>Автоматическое масштабирование области рисования</source>
        <translation>Scales the drawing area to fit</translation>
    </message>
    <message>
        <source>&amp;Сохранить</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>Сохраняет файл проекта</source>
        <translation>Saves the project file</translation>
    </message>
    <message>
        <source>С&amp;хема нанесения размеров</source>
        <translation>Dimension &amp;scheme</translation>
    </message>
    <message>
        <source>Показывает схему нанесения размеров</source>
        <translation>Shows the scheme of the dimensions</translation>
    </message>
    <message>
        <source>&amp;Выделить все</source>
        <translation>Select &amp;all</translation>
    </message>
    <message>
        <source>Выделить все</source>
        <translation>Select all</translation>
    </message>
    <message>
        <source>&amp;Копировать</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>Копирует</source>
        <translation>Copies</translation>
    </message>
    <message>
        <source>&amp;Шрифт</source>
        <translation>F&amp;ont</translation>
    </message>
    <message>
        <source>Выбор шрифта</source>
        <translation>Chooses the font</translation>
    </message>
    <message>
        <source>&amp;DXF…</source>
        <translation>&amp;DXF…</translation>
    </message>
    <message>
        <source>Записывает развертку в файл DXF для станков раскроя</source>
        <translation>Writes the development to a DXF file for cutting machines</translation>
    </message>
    <message>
        <source>&amp;SVG…</source>
        <translation>&amp;SVG…</translation>
    </message>
    <message>
        <source>Записывает развертку в рисунок SVG в миллиметрах</source>
        <translation>Writes the development to an SVG picture in millimetres</translation>
    </message>
    <message>
        <source>&amp;PDF в натуральную величину…</source>
        <translation>Full-size &amp;PDF…</translation>
    </message>
    <message>
        <source>Записывает развертку в PDF в натуральную величину</source>
        <translation>Writes the development to a full-size PDF</translation>
    </message>
    <message>
        <source>&amp;Печать в натуральную величину…</source>
        <translation>Full-size p&amp;rint…</translation>
    </message>
    <message>
        <source>Печатает развертку в натуральную величину на нескольких листах</source>
        <translation>Prints the development at full size on several sheets</translation>
    </message>
    <message>
        <source>&amp;Редактирование</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>&amp;Вид</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>&amp;Экспорт</source>
        <translation>&amp;Export</translation>
    </message>
    <message>
        <source>С&amp;двинуть</source>
        <translation>Scr&amp;oll</translation>
    </message>
    <message>
        <source>&amp;Масштаб</source>
        <translation>&amp;Zoom</translation>
    </message>
    <message>
        <source>Параметры</source>
        <translation>Parameters</translation>
    </message>
    <message>
        <source>Схема</source>
        <translation>Sketch</translation>
    </message>
    <message>
        <source>3M</source>
        <translation>3D</translation>
    </message>
    <message>
        <source>Развертка</source>
        <translation>Development</translation>
    </message>
    <message>
        <source>Результаты</source>
        <translation>Results</translation>
    </message>
    <message>
        <source>Размеры для разметки</source>
        <translation>Marking-out figures</translation>
    </message>
</context>
<context>
    <name>TextReport</name>
    <message>
        <source>Принтер не установлен: напечатать текст нельзя</source>
        <translation>No printer installed: the text cannot be printed</translation>
    </message>
</context>
<context>
    <name>accuracy</name>
    <message>
        <source>Внимание: хорды точной развертки отходят от кривой на %1 %3 (допустимо %2 %3): такой точности не дает ни одно допустимое число разбиений</source>
        <translation>Warning: the chords of the exact development leave the curve by %1 %3 (%2 %3 allowed): no allowed number of divisions gives that accuracy</translation>
    </message>
    <message>
        <source>Внимание: хорды точной развертки отходят от кривой на %1 %4 (допустимо %2 %4): задайте не менее %3 разбиений</source>
        <translation>Warning: the chords of the exact development leave the curve by %1 %4 (%2 %4 allowed): set at least %3 divisions</translation>
    </message>
    <message>
        <source>Внимание: развертка по таблицам отклоняется от точной на %1 %4 (допустимо %2 %4): задайте число разбиений %3</source>
        <translation>Warning: the development from the tables deviates from the exact one by %1 %4 (%2 %4 allowed): set %3 divisions</translation>
    </message>
    <message>
        <source>Внимание: развертка по таблицам отклоняется от точной на %1 %3 (допустимо %2 %3): режьте по точной развертке</source>
        <translation>Warning: the development from the tables deviates from the exact one by %1 %3 (%2 %3 allowed): cut by the exact development</translation>
    </message>
    <message>
        <source>Внимание: развертка по таблицам отклоняется от точной на %1 %5 (допустимо %2 %5): ни одно число разбиений от %3 до %4 не дает такой точности, режьте по точной развертке</source>
        <translation>Warning: the development from the tables deviates from the exact one by %1 %5 (%2 %5 allowed): no number of divisions from %3 to %4 gives that accuracy, cut by the exact development</translation>
    </message>
    <message>
        <source>Внимание: развертка отклоняется от точной поверхности на %1 %3 (допустимо %2 %3): увеличьте число разбиений</source>
        <translation>Warning: the development deviates from the exact surface by %1 %3 (%2 %3 allowed): increase the number of divisions</translation>
    </message>
    <message>
        <source>Внимание: развертка отклоняется от точной поверхности на %1 %3 (допустимо %2 %3): уменьшите число разбиений</source>
        <translation>Warning: the development deviates from the exact surface by %1 %3 (%2 %3 allowed): decrease the number of divisions</translation>
    </message>
</context>
<context>
    <name>errors</name>
    <message>
        <source>Число делений %1 недопустимо: допускается от 1 до %2</source>
        <translation>The number of divisions %1 is not allowed: from 1 to %2 are allowed</translation>
    </message>
</context>
<context>
    <name>explain</name>
    <message>
        <source>%1 не является конечным числом: такое значение бывает только в поврежденном файле проекта</source>
        <translation>%1 is not a finite number: such a value only comes from a damaged project file</translation>
    </message>
    <message>
        <source>%1 = %2 слишком велико: допустимы значения по модулю до %3</source>
        <translation>%1 = %2 is too large: values up to %3 in magnitude work</translation>
    </message>
    <message>
        <source>Круглое сечение выходит за допустимые координаты: |%1| + R = %2, допустимо до %3; уменьшите %1 или R</source>
        <translation>The round section reaches past the usable coordinates: |%1| + R = %2, up to %3 works; reduce %1 or R</translation>
    </message>
    <message>
        <source>Квадрант %1 не рассчитывается при этих размерах</source>
        <translation>Quadrant %1 cannot be computed with these sizes</translation>
    </message>
    <message>
        <source>Смещение X1 = %1 не меньше длины линии шва от середины стороны A до окружности (%2): увеличьте L или уменьшите X1</source>
        <translation>Offset X1 = %1 is not shorter than the seam line from the middle of side A to the circle (%2): increase L or reduce X1</translation>
    </message>
    <message>
        <source>Квадрант %1: шаг по окружности между соседними делениями (%2) слишком мал рядом с расстоянием от угла прямоугольника до окружности (%3), треугольники развертки вырождаются; уменьшите число делений (%4) или %5 = %6</source>
        <translation>Quadrant %1: the step along the circle between divisions (%2) is too small next to the distance from the rectangle&apos;s corner to the circle (%3), the development&apos;s triangles collapse; reduce the divisions (%4) or %5 = %6</translation>
    </message>
    <message>
        <source>Квадрант %1: треугольник между углом прямоугольника, серединой его стороны и окружностью вырождается в отрезок (стороны %2, %3 и %4 при точках, округленных до 0,01): %5 = %6 слишком велико при L = %7 и R = %8</source>
        <translation>Quadrant %1: the triangle between the rectangle&apos;s corner, the middle of its side and the circle collapses into a line (sides %2, %3 and %4 with points rounded to 0.01): %5 = %6 is too large for L = %7 and R = %8</translation>
    </message>
    <message>
        <source>Число делений %1 недопустимо: нужно от 1 до %2</source>
        <translation>%1 divisions cannot be used: 1 to %2 work</translation>
    </message>
    <message>
        <source>Окно рисования: %1 не является конечным числом</source>
        <translation>Drawing area: %1 is not a finite number</translation>
    </message>
    <message>
        <source>Окно рисования: %1 и %2 совпадают (%3), так что окно не имеет размера по этой оси</source>
        <translation>Drawing area: %1 and %2 are equal (%3), so the area has no size along this axis</translation>
    </message>
    <message>
        <source>Окно рисования: от %1 = %2 до %3 = %4 слишком далеко, такой размер окна не представим числом</source>
        <translation>Drawing area: from %1 = %2 to %3 = %4 is too far, such an area has no number for its size</translation>
    </message>
    <message>
        <source>Окно рисования слишком мало для чертежа: точка (%1; %2) легла бы за %3 пикселей от окна, допустимо до %4; расширьте окно</source>
        <translation>Drawing area too small for the drawing: point (%1; %2) would fall %3 pixels off the area, up to %4 works; widen the area</translation>
    </message>
    <message>
        <source>Радиус R = 0: круглое сечение стянуто в точку, и точность развертки по его дуге не определена; задайте R больше 0</source>
        <translation>Radius R = 0: the round section is a point and the development&apos;s accuracy along its arc is undefined; give R above 0</translation>
    </message>
</context>
<context>
    <name>figures</name>
    <message>
        <source>Все гибы в одну сторону: в DXF, как начерчено, сверху наружная сторона перехода, края детали загибаются вниз</source>
        <translation>All bends go one way: in the DXF as drawn the outside of the transition is up, the piece&apos;s edges bend down</translation>
    </message>
    <message>
        <source>Все гибы в одну сторону: в DXF, как начерчено, сверху внутренняя сторона перехода, края детали загибаются вверх</source>
        <translation>All bends go one way: in the DXF as drawn the inside of the transition is up, the piece&apos;s edges bend up</translation>
    </message>
    <message>
        <source>Все гибы в одну сторону</source>
        <translation>All bends go one way</translation>
    </message>
    <message>
        <source>Размеры для разметки</source>
        <translation>Sizes for marking out</translation>
    </message>
    <message>
        <source>Параметры перехода:</source>
        <translation>Transition parameters:</translation>
    </message>
    <message>
        <source>   Материал: %1, плотность %2 кг/м³</source>
        <translation>   Material: %1, density %2 kg/m³</translation>
    </message>
    <message>
        <source>   Размеры заданы: прямоугольного сечения %1, круглого %2</source>
        <translation>   Sizes given: rectangular section %1, round %2</translation>
    </message>
    <message>
        <source>   Развертка по средней поверхности: %1</source>
        <translation>   Development of the mean surface: %1</translation>
    </message>
    <message>
        <source>   Средняя поверхность отложена по нормали к листу</source>
        <translation>   Mean surface laid off along the plate&apos;s normal</translation>
    </message>
    <message>
        <source>   Средняя поверхность отложена t/2 по сечению</source>
        <translation>   Mean surface laid off t/2 in the section</translation>
    </message>
    <message>
        <source>   Развертка по заданным размерам: %1</source>
        <translation>   Development of the given sizes: %1</translation>
    </message>
    <message>
        <source>   Развертка для раскроя: %1</source>
        <translation>   Development for cutting: %1</translation>
    </message>
    <message>
        <source>№</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>От</source>
        <translation>From</translation>
    </message>
    <message>
        <source>До</source>
        <translation>To</translation>
    </message>
    <message>
        <source>Длина</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>Квадрант %1</source>
        <translation>Quadrant %1</translation>
    </message>
    <message>
        <source>  Истинные длины образующих:</source>
        <translation>  True lengths of the generator lines:</translation>
    </message>
    <message>
        <source>  Хорды дуги:</source>
        <translation>  Chords of the arc:</translation>
    </message>
    <message>
        <source>  Стороны прямоугольника:</source>
        <translation>  Sides of the rectangle:</translation>
    </message>
    <message>
        <source>Листы (выбранные квадранты, как на развертке):</source>
        <translation>Sheets (the selected quadrants, as on the development):</translation>
    </message>
    <message>
        <source>  Не выбран ни один квадрант</source>
        <translation>  No quadrant is selected</translation>
    </message>
    <message>
        <source>%1 и %2</source>
        <translation>%1 and %2</translation>
    </message>
    <message>
        <source>квадранты %1</source>
        <translation>quadrants %1</translation>
    </message>
    <message>
        <source>квадрант %1</source>
        <translation>quadrant %1</translation>
    </message>
    <message>
        <source>Лист %1 (%2)</source>
        <translation>Sheet %1 (%2)</translation>
    </message>
    <message>
        <source>Деталь %1</source>
        <translation>Piece %1</translation>
    </message>
    <message>
        <source>Гибы (для листогиба), по порядку раскроя; угол — отклонение от плоскости:</source>
        <translation>Bends (for the press brake), in cutting order; the angle is the deviation from flat:</translation>
    </message>
    <message>
        <source>  Гибы с углом меньше нуля идут в обратную сторону (точки дуги, округленные в таблицах)</source>
        <translation>  Bends with an angle below zero go the other way (the arc points rounded in the tables)</translation>
    </message>
    <message>
        <source>Квадрант</source>
        <translation>Quadrant</translation>
    </message>
    <message>
        <source>Угол</source>
        <translation>Angle</translation>
    </message>
    <message>
        <source>Для расчета стоимости:</source>
        <translation>For costing:</translation>
    </message>
    <message>
        <source>  Всего: %1</source>
        <translation>  Total: %1</translation>
    </message>
    <message>
        <source>Масса: %1 кг</source>
        <translation>Mass: %1 kg</translation>
    </message>
    <message>
        <source>Масса: 0 кг (толщина листа не задана)</source>
        <translation>Mass: 0 kg (no plate thickness given)</translation>
    </message>
    <message>
        <source>Точность развертки:</source>
        <translation>Accuracy of the development:</translation>
    </message>
    <message>
        <source>   Толщина листа: t=%1 %2</source>
        <translation>   Plate thickness: t=%1 %2</translation>
    </message>
    <message>
        <source>Длины истинные, в %1: на развертке они те же.</source>
        <translation>True lengths, in %1: they are the same on the development.</translation>
    </message>
    <message>
        <source>  Площадь детали: %1 %2</source>
        <translation>  Area of the piece: %1 %2</translation>
    </message>
    <message>
        <source>  Швы: %1; припуски: на шов %2 и %3 %6, у прямоугольного конца %4 %6, у круглого конца %5 %6</source>
        <translation>  Seams: %1; allowances: on a seam %2 and %3 %6, at the rectangular end %4 %6, at the round end %5 %6</translation>
    </message>
    <message>
        <source>%1: площадь с припусками %2 %7, без припусков %3 %7, заготовка %4x%5 %6</source>
        <translation>%1: area with allowances %2 %7, without allowances %3 %7, blank %4x%5 %6</translation>
    </message>
    <message>
        <source>%1: площадь %2 %6, заготовка %3x%4 %5</source>
        <translation>%1: area %2 %6, blank %3x%4 %5</translation>
    </message>
    <message>
        <source>рез %1 %5, врезок %2, швы %3 %5, гибов %4</source>
        <translation>cut %1 %5, pierces %2, seams %3 %5, bends %4</translation>
    </message>
    <message>
        <source>площадь заготовки %1 %5, детали %2 %5, по контуру реза %3 %5, масса %4 кг</source>
        <translation>blank area %1 %5, piece %2 %5, within the cut outline %3 %5, mass %4 kg</translation>
    </message>
    <message>
        <source>    заготовка %1x%2 %4, %3</source>
        <translation>    blank %1x%2 %4, %3</translation>
    </message>
    <message>
        <source>    наименьшая заготовка %1x%2 %4, повернутая на %3°</source>
        <translation>    least blank %1x%2 %4, turned by %3°</translation>
    </message>
    <message>
        <source>Площадь всего перехода: %1 %3 (%2 м²)</source>
        <translation>Area of the whole transition: %1 %3 (%2 m²)</translation>
    </message>
    <message>
        <source>  Длина дуги: отклонение %1 %3 (ломаная из точных хорд короче дуги на %2 %3)</source>
        <translation>  Arc length: deviation %1 %3 (the polyline of exact chords is shorter than the arc by %2 %3)</translation>
    </message>
    <message>
        <source>  Длина линии отклоняется не более чем на %1 %2</source>
        <translation>  A line&apos;s length deviates by no more than %1 %2</translation>
    </message>
    <message>
        <source>  Хорды дуги отходят от кривой не более чем на %1 %2</source>
        <translation>  The arc&apos;s chords leave the curve by no more than %1 %2</translation>
    </message>
    <message>
        <source>  Точки развертки по таблицам отходят от точных не более чем на %1 %2</source>
        <translation>  The tables&apos; development points leave the exact ones by no more than %1 %2</translation>
    </message>
    <message>
        <source>  Допустимо: %1 %2</source>
        <translation>  Allowed: %1 %2</translation>
    </message>
</context>
<context>
    <name>files</name>
    <message>
        <source>нет прав доступа</source>
        <translation>permission denied</translation>
    </message>
    <message>
        <source>операция не разрешена</source>
        <translation>operation not permitted</translation>
    </message>
    <message>
        <source>нет такого файла или папки</source>
        <translation>no such file or folder</translation>
    </message>
    <message>
        <source>на диске нет свободного места</source>
        <translation>no space left on the disk</translation>
    </message>
    <message>
        <source>превышена дисковая квота</source>
        <translation>disk quota exceeded</translation>
    </message>
    <message>
        <source>файл слишком велик</source>
        <translation>file too large</translation>
    </message>
    <message>
        <source>файловая система доступна только для чтения</source>
        <translation>read-only file system</translation>
    </message>
    <message>
        <source>это папка</source>
        <translation>it is a folder</translation>
    </message>
    <message>
        <source>часть пути не является папкой</source>
        <translation>a part of the path is not a folder</translation>
    </message>
    <message>
        <source>файл уже существует</source>
        <translation>the file already exists</translation>
    </message>
    <message>
        <source>принимающая сторона канала закрыта</source>
        <translation>the receiving end of the pipe is closed</translation>
    </message>
    <message>
        <source>ошибка ввода-вывода</source>
        <translation>input/output error</translation>
    </message>
    <message>
        <source>слишком длинное имя файла</source>
        <translation>file name too long</translation>
    </message>
    <message>
        <source>слишком много символических ссылок в пути</source>
        <translation>too many symbolic links in the path</translation>
    </message>
    <message>
        <source>открыто слишком много файлов</source>
        <translation>too many open files</translation>
    </message>
    <message>
        <source>файл занят: это запущенная программа</source>
        <translation>the file is busy: it is a running program</translation>
    </message>
    <message>
        <source>устройство или файл заняты</source>
        <translation>device or file busy</translation>
    </message>
    <message>
        <source>недостаточно памяти</source>
        <translation>not enough memory</translation>
    </message>
    <message>
        <source>недопустимый дескриптор файла</source>
        <translation>bad file descriptor</translation>
    </message>
    <message>
        <source>нет такого устройства</source>
        <translation>no such device</translation>
    </message>
    <message>
        <source>недопустимый аргумент</source>
        <translation>invalid argument</translation>
    </message>
    <message>
        <source>системная ошибка %1</source>
        <translation>system error %1</translation>
    </message>
    <message>
        <source>Дополнительные данные проекта (толщина листа, материал) повреждены и не прочитаны: взяты значения по умолчанию</source>
        <translation>The project&apos;s additional data (plate thickness, material) are damaged and were not read: the defaults are taken</translation>
    </message>
    <message>
        <source>Дополнительные данные проекта (толщина листа, материал) записаны более новой версией программы и не прочитаны: взяты значения по умолчанию</source>
        <translation>The project&apos;s additional data (plate thickness, material) were written by a newer version of the program and were not read: the defaults are taken</translation>
    </message>
    <message>
        <source>файл короче %1 байт (в нём %2 байт), это не файл развертки</source>
        <translation>the file is shorter than %1 bytes (it holds %2 bytes), it is not a development file</translation>
    </message>
    <message>
        <source>это не обычный файл</source>
        <translation>it is not a plain file</translation>
    </message>
    <message>
        <source>Не удалось прочитать файл &quot;%1&quot;: %2</source>
        <translation>Cannot read the file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>Не удалось сохранить файл &quot;%1&quot;: %2</source>
        <translation>Cannot save the file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>символическая ссылка указывает на несуществующий файл</source>
        <translation>the symbolic link points to a file that does not exist</translation>
    </message>
</context>
<context>
    <name>results</name>
    <message>
        <source>Квадрант %1</source>
        <translation>Quadrant %1</translation>
    </message>
    <message>
        <source>Точка</source>
        <translation>Point</translation>
    </message>
    <message>
        <source>Общие габариты (XxY)=%1x%2</source>
        <translation>Overall dimensions (XxY)=%1x%2</translation>
    </message>
    <message>
        <source>   Прямоугольное сечение: (XxY)=%1x%2</source>
        <translation>   Rectangular section: (XxY)=%1x%2</translation>
    </message>
    <message>
        <source>   Радиус круглого сечения: R=%1</source>
        <translation>   Radius of the round section: R=%1</translation>
    </message>
    <message>
        <source>   Расстояние между сечениями: L=%1</source>
        <translation>   Distance between the sections: L=%1</translation>
    </message>
    <message>
        <source>   Смещение осей сечений: dX=%1 dY=%2</source>
        <translation>   Offset of the section axes: dX=%1 dY=%2</translation>
    </message>
    <message>
        <source>   Развертка по средней поверхности: (XxY)=%1x%2 R=%3</source>
        <translation>   Development of the mean surface: (XxY)=%1x%2 R=%3</translation>
    </message>
    <message>
        <source>Параметры перехода:</source>
        <translation>Transition parameters:</translation>
    </message>
    <message>
        <source>Результаты расчета развертки:</source>
        <translation>Development results:</translation>
    </message>
    <message>
        <source>Координаты точек контура развертки (по квадрантам прямоугольного сечения):</source>
        <translation>Coordinates of the development&apos;s outline points (by quadrants of the rectangular section):</translation>
    </message>
    <message>
        <source>   Толщина листа: t=%1 %4 (прямоугольное сечение: %2 размеры, круглое: %3)</source>
        <translation>   Plate thickness: t=%1 %4 (rectangular section: %2 sizes, round: %3)</translation>
    </message>
</context>
<context>
    <name>shop</name>
    <message>
        <source>Новый проект</source>
        <translation>New project</translation>
    </message>
    <message>
        <source>Швы: &quot;%1&quot; — нет такого места шва (допустимы +x, -x, +y, -y, c1, c2, c3, c4)</source>
        <translation>Seams: &quot;%1&quot; is no place for a seam (allowed: +x, -x, +y, -y, c1, c2, c3, c4)</translation>
    </message>
    <message>
        <source>Швы: шов %1 назван дважды</source>
        <translation>Seams: seam %1 is named twice</translation>
    </message>
    <message>
        <source>Швы: нужен хотя бы один шов</source>
        <translation>Seams: at least one seam is needed</translation>
    </message>
    <message>
        <source>по таблицам</source>
        <translation>from the tables</translation>
    </message>
    <message>
        <source>точная</source>
        <translation>exact</translation>
    </message>
    <message>
        <source>Не выбран ни один квадрант: экспортировать нечего</source>
        <translation>No quadrant is selected: there is nothing to export</translation>
    </message>
    <message>
        <source>Деталь %1 из %2 (шов %3)</source>
        <translation>Piece %1 of %2 (seam %3)</translation>
    </message>
    <message>
        <source>Деталь %1 из %2 (швы %3)</source>
        <translation>Piece %1 of %2 (seams %3)</translation>
    </message>
    <message>
        <source>Деталь %1 из %2 (швы %3) накладывается сама на себя в развертке: добавьте швы</source>
        <translation>Piece %1 of %2 (seams %3) overlaps itself in the development: add seams</translation>
    </message>
    <message>
        <source>сталь</source>
        <translation>steel</translation>
    </message>
    <message>
        <source>нержавеющая сталь</source>
        <translation>stainless steel</translation>
    </message>
    <message>
        <source>алюминий</source>
        <translation>aluminium</translation>
    </message>
    <message>
        <source>медь</source>
        <translation>copper</translation>
    </message>
    <message>
        <source>оцинкованная сталь</source>
        <translation>galvanised steel</translation>
    </message>
    <message>
        <source>другой</source>
        <translation>other</translation>
    </message>
    <message>
        <source>средние</source>
        <translation>mean</translation>
    </message>
    <message>
        <source>внутренние</source>
        <translation>inside</translation>
    </message>
    <message>
        <source>наружные</source>
        <translation>outside</translation>
    </message>
    <message>
        <source>Толщина листа должна быть числом</source>
        <translation>The plate thickness must be a number</translation>
    </message>
    <message>
        <source>Толщина листа не может быть отрицательной</source>
        <translation>The plate thickness cannot be negative</translation>
    </message>
    <message>
        <source>Неизвестно, по каким поверхностям заданы размеры</source>
        <translation>It is not known which faces the sizes measure</translation>
    </message>
    <message>
        <source>Неизвестный материал</source>
        <translation>Unknown material</translation>
    </message>
    <message>
        <source>Плотность материала должна быть больше нуля</source>
        <translation>The material&apos;s density must be above zero</translation>
    </message>
    <message>
        <source>Плотность материала слишком мала</source>
        <translation>The material&apos;s density is too small</translation>
    </message>
    <message>
        <source>Для печати в натуральную величину нужно %1 листов, больше допустимых %2: возьмите бумагу больше или передайте развертку в DXF</source>
        <translation>Printing at full size needs %1 sheets, more than the %2 allowed: take larger paper or pass the development on as DXF</translation>
    </message>
    <message>
        <source>%1 листов</source>
        <translation>%1 sheets</translation>
    </message>
    <message>
        <source>%1 лист</source>
        <translation>%1 sheet</translation>
    </message>
    <message>
        <source>%1 листа</source>
        <translation>%1 sheets</translation>
    </message>
    <message>
        <source>Печать в натуральную величину (100 %): листов %1, схема раскладки</source>
        <translation>Full-size print (100 %): %1 sheets, layout plan</translation>
    </message>
    <message>
        <source>100 мм</source>
        <translation>100 mm</translation>
    </message>
    <message>
        <source>%1: B×A = %2×%3, R = %4, L = %5, X1 = %6, Y1 = %7, делений %8</source>
        <translation>%1: B×A = %2×%3, R = %4, L = %5, X1 = %6, Y1 = %7, %8 divisions</translation>
    </message>
    <message>
        <source>%1: B×A = %2×%3, R = %4, L = %5, X1 = %6, Y1 = %7, делений %8, точная развертка</source>
        <translation>%1: B×A = %2×%3, R = %4, L = %5, X1 = %6, Y1 = %7, %8 divisions, exact development</translation>
    </message>
    <message>
        <source>%1: B×A = %2×%3, R = %4, L = %5, X1 = %6, Y1 = %7, делений %8, t = %9 (по средней поверхности)</source>
        <translation>%1: B×A = %2×%3, R = %4, L = %5, X1 = %6, Y1 = %7, %8 divisions, t = %9 (mean surface)</translation>
    </message>
    <message>
        <source>%1: B×A = %2×%3, R = %4, L = %5, X1 = %6, Y1 = %7, делений %8, t = %9 (по средней поверхности), точная развертка</source>
        <translation>%1: B×A = %2×%3, R = %4, L = %5, X1 = %6, Y1 = %7, %8 divisions, t = %9 (mean surface), exact development</translation>
    </message>
    <message>
        <source>Развертка не помещается на страницу PDF: сторона %1 мм, допускается до %2 мм. Используйте печать в натуральную величину на листах или DXF</source>
        <translation>The development does not fit on a PDF page: its side is %1 mm, up to %2 mm is allowed. Use the full-size print on sheets or DXF</translation>
    </message>
    <message>
        <source>Плотность материала «сталь» %1 кг/м3, а не %2</source>
        <translation>The density of steel is %1 kg/m3, not %2</translation>
    </message>
    <message>
        <source>Плотность материала «нержавеющая сталь» %1 кг/м3, а не %2</source>
        <translation>The density of stainless steel is %1 kg/m3, not %2</translation>
    </message>
    <message>
        <source>Плотность материала «алюминий» %1 кг/м3, а не %2</source>
        <translation>The density of aluminium is %1 kg/m3, not %2</translation>
    </message>
    <message>
        <source>Плотность материала «медь» %1 кг/м3, а не %2</source>
        <translation>The density of copper is %1 kg/m3, not %2</translation>
    </message>
    <message>
        <source>Плотность материала «оцинкованная сталь» %1 кг/м3, а не %2</source>
        <translation>The density of galvanised steel is %1 kg/m3, not %2</translation>
    </message>
    <message>
        <source>Припуск %1 %3 больше самой детали (%2 %3)</source>
        <translation>The allowance %1 %3 is larger than the piece itself (%2 %3)</translation>
    </message>
    <message>
        <source>Припуск на шов: ширина должна быть неотрицательным числом, %1</source>
        <translation>Seam allowance: the width must be a number of 0 or more, %1</translation>
    </message>
    <message>
        <source>Припуск у прямоугольного конца: ширина должна быть неотрицательным числом, %1</source>
        <translation>Allowance at the rectangular end: the width must be a number of 0 or more, %1</translation>
    </message>
    <message>
        <source>Припуск у круглого конца: ширина должна быть неотрицательным числом, %1</source>
        <translation>Allowance at the round end: the width must be a number of 0 or more, %1</translation>
    </message>
    <message>
        <source>Засечки линий гиба: длина должна быть положительным числом, %1</source>
        <translation>Bend line ticks: the length must be a positive number, %1</translation>
    </message>
    <message>
        <source>Толщина листа t=%1 не оставляет средней поверхности: сторона B по средней поверхности %2 %3</source>
        <translation>Plate thickness t=%1 leaves no mean surface: side B on the mean surface is %2 %3</translation>
    </message>
    <message>
        <source>Толщина листа t=%1 слишком велика: сторона B по внутренней поверхности %2 %3</source>
        <translation>Plate thickness t=%1 is too large: side B on the inside surface is %2 %3</translation>
    </message>
    <message>
        <source>Толщина листа t=%1 не оставляет средней поверхности: сторона А по средней поверхности %2 %3</source>
        <translation>Plate thickness t=%1 leaves no mean surface: side A on the mean surface is %2 %3</translation>
    </message>
    <message>
        <source>Толщина листа t=%1 слишком велика: сторона А по внутренней поверхности %2 %3</source>
        <translation>Plate thickness t=%1 is too large: side A on the inside surface is %2 %3</translation>
    </message>
    <message>
        <source>Толщина листа t=%1 не оставляет средней поверхности: радиус R по средней поверхности %2 %3</source>
        <translation>Plate thickness t=%1 leaves no mean surface: radius R on the mean surface is %2 %3</translation>
    </message>
    <message>
        <source>Толщина листа t=%1 слишком велика: радиус R по внутренней поверхности %2 %3</source>
        <translation>Plate thickness t=%1 is too large: radius R on the inside surface is %2 %3</translation>
    </message>
</context>
<context>
    <name>units</name>
    <message>
        <source>мм</source>
        <translation>mm</translation>
    </message>
    <message>
        <source>дюйм</source>
        <translation>in</translation>
    </message>
    <message>
        <source>дюйм²</source>
        <translation>in²</translation>
    </message>
    <message>
        <source>мм²</source>
        <translation>mm²</translation>
    </message>
</context>
<context>
    <name>vintaler::TCuttingDialog</name>
    <message>
        <source>Раскрой</source>
        <translation>Cutting</translation>
    </message>
    <message>
        <source>Развертка для раскроя:</source>
        <translation>Development to cut:</translation>
    </message>
    <message>
        <source>Швы</source>
        <translation>Seams</translation>
    </message>
    <message>
        <source>Места швов вокруг перехода, вид со стороны круглого сечения.
Сколько швов, столько деталей</source>
        <translation>The seams&apos; places round the transition, seen from the round end.
As many seams, as many pieces</translation>
    </message>
    <message>
        <source>Припуски, мм</source>
        <translation>Allowances, mm</translation>
    </message>
    <message>
        <source>Припуск на шов: первая кромка</source>
        <translation>Seam allowance: first edge</translation>
    </message>
    <message>
        <source>У кромки детали, которая кончается на шве (против часовой стрелки)</source>
        <translation>At the edge of the piece that ends at the seam (counter-clockwise)</translation>
    </message>
    <message>
        <source>вторая кромка</source>
        <translation>second edge</translation>
    </message>
    <message>
        <source>У кромки детали, которая начинается на шве</source>
        <translation>At the edge of the piece that starts at the seam</translation>
    </message>
    <message>
        <source>Припуск у прямоугольного конца</source>
        <translation>Allowance at the rectangular end</translation>
    </message>
    <message>
        <source>Отбортовка у прямоугольного конца</source>
        <translation>Flange at the rectangular end</translation>
    </message>
    <message>
        <source>Припуск у круглого конца</source>
        <translation>Allowance at the round end</translation>
    </message>
    <message>
        <source>Манжета у круглого конца</source>
        <translation>Collar at the round end</translation>
    </message>
    <message>
        <source>Линии гиба</source>
        <translation>Bend lines</translation>
    </message>
    <message>
        <source>полностью</source>
        <translation>in full</translation>
    </message>
    <message>
        <source>засечки</source>
        <translation>ticks</translation>
    </message>
    <message>
        <source>Только засечки у концов линий гиба, без разметки поперек детали</source>
        <translation>Only ticks at the ends of the bend lines, no marking across the piece</translation>
    </message>
    <message>
        <source>Длина засечки, мм</source>
        <translation>Tick length, mm</translation>
    </message>
    <message>
        <source>Длина засечки от каждого конца линии гиба</source>
        <translation>Tick length from each end of a bend line</translation>
    </message>
    <message>
        <source>Углы гиба на чертеже</source>
        <translation>Bend angles on the drawing</translation>
    </message>
    <message>
        <source>Угол гиба у каждой линии гиба на чертежах PDF, SVG и листах печати,
где для надписи хватает места</source>
        <translation>The bend angle beside each bend line on the PDF and SVG drawings and the printed sheets,
where there is room for it</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Припуск на шов, первая кромка</source>
        <translation>Seam allowance, first edge</translation>
    </message>
    <message>
        <source>Припуск на шов, вторая кромка</source>
        <translation>Seam allowance, second edge</translation>
    </message>
    <message>
        <source>Единицы:</source>
        <translation>Units:</translation>
    </message>
    <message>
        <source>мм</source>
        <translation>mm</translation>
    </message>
    <message>
        <source>дюймы</source>
        <translation>inches</translation>
    </message>
    <message>
        <source>Припуски, дюймы</source>
        <translation>Allowances, in</translation>
    </message>
    <message>
        <source>Длина засечки, дюймы</source>
        <translation>Tick length, in</translation>
    </message>
    <message>
        <source>%1: ширина должна быть неотрицательным числом, %2</source>
        <translation>%1: the width must be a number not below zero, %2</translation>
    </message>
    <message>
        <source>Засечки линий гиба: длина должна быть положительным числом, %1</source>
        <translation>Bend line ticks: the length must be a positive number, %1</translation>
    </message>
</context>
</TS>

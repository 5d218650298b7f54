<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>QFileDialog</name>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>errors</name>
    <message>
        <source>Число делений %1 недопустимо: допускается от 1 до %2</source>
        <translation>The number of divisions %1 is not allowed: from 1 to %2 are allowed</translation>
    </message>
</context>
</TS>

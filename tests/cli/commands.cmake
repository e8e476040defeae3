# Exit codes and shapes of the document commands of velmar32-cli.
function(run expected_rc)
  execute_process(COMMAND ${CLI} --dir ${DIR} ${ARGN}
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  if(NOT rc EQUAL expected_rc)
    message(FATAL_ERROR "velmar32-cli ${ARGN}: exit ${rc}, expected ${expected_rc}\n${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

run(0 paschalion 2000 2000 --tsv)
if(NOT out STREQUAL "2000\t20.2\t5.3\t12.3\t23.4\t30.4\t24.5\t8.6\t18.6\t25.6\t16\n")
  message(FATAL_ERROR "paschalion --tsv 2000: ${out}")
endif()
run(0 paschalion 1000 900 --old-style --tsv)   # the last year is raised to the first
if(NOT out MATCHES "^1000\t21.1\t4.2\t11.2\t24.3\t31.3\t24.4\t9.5\t19.5\t26.5\t33\n$")
  message(FATAL_ERROR "paschalion --old-style 1000: ${out}")
endif()
run(0 paschalion 1700 1701 --tsv)              # new style starts at 1800
if(NOT out MATCHES "^1800\t")
  message(FATAL_ERROR "paschalion 1700: ${out}")
endif()
run(0 day 2001-01-07 --rtf)
if(NOT out MATCHES "^\\{\\\\rtf1" OR NOT out MATCHES "\n}$")
  message(FATAL_ERROR "day --rtf is no RTF document")
endif()
run(0 calendar 2001-01-01 2001-01-31 --rtf -o ${WORK}/jan.rtf)
file(READ ${WORK}/jan.rtf jan)
string(REGEX MATCHALL "================================================" blocks "${jan}")
list(LENGTH blocks n)
if(NOT n EQUAL 31)
  message(FATAL_ERROR "calendar of January has ${n} day blocks")
endif()
run(2 calendar 2001-02-01 2001-01-31)
run(2 day 2001-02-29)
run(2 search x)
run(2 search abc --year 1700)
run(2 frobnicate)
run(0 search ab --rtf --year 2000)

# The fast note is the table's last column; Fasting=No and a database
# without Fasting.db leave it empty.
run(0 table 2024-05-03 2024-05-04)
if(NOT out STREQUAL "2024-05-03\t20\t4\t6\t383\t2\t0\t0\tВеликая Пятница, воспоминание Страстей Господних\tВеликая пятница. Воздержание от пищи\n2024-05-04\t21\t4\t7\t384\t1\t0\t0\tВеликая Суббота\tВеликая суббота. Сухоядение\n")
  message(FATAL_ERROR "table with the fast notes: ${out}")
endif()
file(REMOVE_RECURSE ${WORK}/nofast)
file(COPY ${DIR}/dbase DESTINATION ${WORK}/nofast)
file(WRITE ${WORK}/nofast/Velmar32.ini "Fasting=No\r\n")
execute_process(COMMAND ${CLI} --dir ${WORK}/nofast table 2024-05-03 2024-05-03
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out MATCHES "\tВеликая Пятница, воспоминание Страстей Господних\t\n$" OR NOT err STREQUAL "")
  message(FATAL_ERROR "table with Fasting=No: ${rc} ${out} ${err}")
endif()
file(REMOVE ${WORK}/nofast/dbase/Fasting.db ${WORK}/nofast/Velmar32.ini)
execute_process(COMMAND ${CLI} --dir ${WORK}/nofast table 2024-05-03 2024-05-03
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out MATCHES "\tВеликая Пятница, воспоминание Страстей Господних\t\n$" OR NOT err STREQUAL "")
  message(FATAL_ERROR "table without Fasting.db: ${rc} ${out} ${err}")
endif()

# Name days from dbase/Names.db: the days of a name, the name day of a
# birthday across the year's end, unknown names, bad dates, no Names.db.
run(0 nameday Ксения 2024-02-07)
if(NOT out MATCHES "^Ксения \\(женское имя\\)\n6 Февраля \\(24 Января ст.ст.\\)\tБлж. Ксении Петербургской"
   OR NOT out MATCHES "\nИменины: 6 Февраля 2025 г. \\(24 Января ст.ст.\\)\t")
  message(FATAL_ERROR "nameday Ксения: ${out}")
endif()
run(0 nameday сергей --year 2024)
if(NOT out MATCHES "\n8 Октября \\(25 Сентября ст.ст.\\)\tПреставление прп. Сергия" OR out MATCHES "Именины")
  message(FATAL_ERROR "nameday сергей: ${out}")
endif()
run(2 nameday)
run(2 nameday Ольга 2024-02-30)
run(2 nameday Неведомый)
file(REMOVE ${WORK}/nofast/dbase/Names.db)
execute_process(COMMAND ${CLI} --dir ${WORK}/nofast nameday Ольга
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 2 OR NOT err MATCHES "Names.db")
  message(FATAL_ERROR "nameday without Names.db: ${rc} ${out} ${err}")
endif()
# Without dbase/ the commands that read it fail and say where it was looked
# for; the Paschalion needs no database. A --dir that names no folder is bad input.
file(REMOVE_RECURSE ${WORK}/nodbase)
file(MAKE_DIRECTORY ${WORK}/nodbase)
foreach(command "day;2001-01-07" "today" "calendar;2001-01-01;2001-01-02" "search;Никола" "table;2001-01-01;2001-01-01")
  execute_process(COMMAND ${CLI} --dir ${WORK}/nodbase ${command}
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  if(NOT rc EQUAL 1 OR NOT out STREQUAL "" OR NOT err MATCHES "Не найдена папка базы данных:\n${WORK}/nodbase/dbase/\n")
    message(FATAL_ERROR "${command} without dbase/: exit ${rc}\n${out}\n${err}")
  endif()
endforeach()
execute_process(COMMAND ${CLI} --dir ${WORK}/nodbase paschalion 2000 2000 --tsv
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^2000\t20.2\t")
  message(FATAL_ERROR "paschalion without dbase/: exit ${rc}\n${out}\n${err}")
endif()
execute_process(COMMAND ${CLI} --dir ${WORK}/no-such-folder day 2001-01-07
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 2 OR NOT out STREQUAL "" OR NOT err MATCHES "--dir: нет такой папки: ${WORK}/no-such-folder")
  message(FATAL_ERROR "--dir without its folder: exit ${rc}\n${out}\n${err}")
endif()

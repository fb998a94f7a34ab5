# cmake -DPROGRAM=<program> -DCOMMANDS=<a,b,...> -DOUTPUT=<file.h2m> -P ManPageCommands.cmake
#
# Writes a help2man include file with a COMMANDS section: for each command, its usage line as a
# subsection, then what `<program> <command> --help` says (CLI11's layout: a description line, the
# usage line, "Positionals:" and "Options:" items, then free text), its items as tagged
# paragraphs. The --help item is left out, as every command has it.
cmake_minimum_required(VERSION 3.25)

# Roff text: a backslash is \e, an option's dashes are \- (so that they are copied as dashes), and
# a line that starts with a dot or an apostrophe starts with \& instead.
function(roff text out)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REGEX REPLACE "(^|[ ,[(|])--([A-Za-z])" "\\1\\\\-\\\\-\\2" text "${text}")
  string(REGEX REPLACE "(^|[ ,[(|])-([A-Za-z])" "\\1\\\\-\\2" text "${text}")
  string(REGEX REPLACE "^([.'])" "\\\\&\\1" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

string(ASCII 31 semicolon)  # stands for ";" while the text is a CMake list of lines
string(REPLACE "," ";" COMMANDS "${COMMANDS}")
set(man "[COMMANDS]\n")
foreach(command IN LISTS COMMANDS)
  execute_process(COMMAND ${PROGRAM} ${command} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} ${command} --help failed (${status})")
  endif()
  string(REPLACE ";" "${semicolon}" help "${help}")
  string(REPLACE "\n" ";" lines "${help}")
  set(description)
  set(usage)
  set(skip_item FALSE)
  set(after_items FALSE)
  set(previous)
  foreach(line IN LISTS lines)
    string(REPLACE "${semicolon}" ";" line "${line}")
    if(NOT usage)
      # Before the usage line: the command's description.
      if(line MATCHES "^Usage: (.*)$")
        roff("${CMAKE_MATCH_1}" usage)
        string(APPEND man ".SS \"${usage}\"\n${description}")
      elseif(NOT line STREQUAL "")
        roff("${line}" text)
        string(APPEND description "${text}\n")
      endif()
    elseif(line STREQUAL "" OR line MATCHES "^(Positionals|Options):$")
    elseif(line MATCHES "^  ([^ ]+( [^ ]+)*)(  +([^ ].*))?$")
      # An item: its name and type (single spaces), then its text after two spaces or more, or on
      # the next line.
      set(skip_item FALSE)
      if(CMAKE_MATCH_1 STREQUAL "-h,--help")
        set(skip_item TRUE)
      else()
        set(text "${CMAKE_MATCH_4}")
        roff("${CMAKE_MATCH_1}" term)
        string(APPEND man ".TP\n\\fB${term}\\fR\n")
        if(NOT text STREQUAL "")
          roff("${text}" text)
          string(APPEND man "${text}\n")
        endif()
      endif()
    elseif(line MATCHES "^      +([^ ].*)$")
      if(NOT skip_item)
        roff("${CMAKE_MATCH_1}" text)
        string(APPEND man "${text}\n")
      endif()
    elseif(line MATCHES "^Run '.*--help' for the options of one command\\.$")
      # The footer of the whole program, which its own page has already.
    else()
      # Free text after the items: a line after a full stop starts a line of its own; the spaces
      # inside "[ COMPLETE ]" and the like do not stretch.
      if(NOT after_items)
        string(APPEND man ".PP\n")
        set(after_items TRUE)
      elseif(previous MATCHES "\\.$")
        string(APPEND man ".br\n")
      endif()
      roff("${line}" text)
      string(REGEX REPLACE "\\[ ([A-Z]+) \\]" "[\\\\ \\1\\\\ ]" text "${text}")
      string(APPEND man "${text}\n")
    endif()
    set(previous "${line}")
  endforeach()
  if(NOT usage)
    message(FATAL_ERROR "${PROGRAM} ${command} --help printed no usage line")
  endif()
endforeach()
file(WRITE "${OUTPUT}" "${man}")

# Delay-loaded import libraries for the program's window DLLs (user32, gdi32, comctl32, shell32).
# Their first use comes after RestrictDllSearch has confined the DLL search to the system
# directory, so that neither they nor the DLLs they import in turn are looked for in the program's
# folder. A static import would be resolved before the program's first line, with the program's
# folder searched first (Wine's user32 imports version.dll, for one).
#
# korvel_delay_load_window_dlls(target): the target links the window DLLs delay-loaded. The
# libraries carry the system names (libuser32.a, ...) in a folder searched before the toolchain's.
function(korvel_delay_load_window_dlls target)
  set(dir ${CMAKE_BINARY_DIR}/delay-imports)
  if(NOT EXISTS ${dir}/done)
    file(MAKE_DIRECTORY ${dir})
    get_filename_component(bin_dir ${CMAKE_CXX_COMPILER} DIRECTORY)
    string(REGEX REPLACE "-g\\+\\+(-posix)?$" "" prefix ${CMAKE_CXX_COMPILER})
    set(dlltool ${prefix}-dlltool)
    set(nm ${prefix}-nm)
    if(CMAKE_SYSTEM_PROCESSOR MATCHES "64")
      set(machine i386:x86-64)
      set(kill_at "")
      set(import_pattern "^__imp_(.+)$")
    else()
      set(machine i386)
      set(kill_at --kill-at)
      set(import_pattern "^__imp__(.+)$")
    endif()
    foreach(lib user32 gdi32 comctl32 shell32)
      find_library(system_${lib} NAMES ${lib} REQUIRED NO_CACHE)
      execute_process(COMMAND ${nm} --defined-only -g ${system_${lib}} OUTPUT_VARIABLE symbols
                      COMMAND_ERROR_IS_FATAL ANY)
      string(REPLACE "\n" ";" lines "${symbols}")
      set(def "LIBRARY ${lib}.dll\nEXPORTS\n")
      foreach(line IN LISTS lines)
        if(line MATCHES " I (.+)$")
          set(symbol ${CMAKE_MATCH_1})
          if(symbol MATCHES "${import_pattern}")
            string(APPEND def "${CMAKE_MATCH_1}\n")
          endif()
        endif()
      endforeach()
      file(WRITE ${dir}/${lib}.def "${def}")
      execute_process(COMMAND ${dlltool} -m ${machine} ${kill_at} --input-def ${dir}/${lib}.def
                              --dllname ${lib}.dll --output-delaylib ${dir}/lib${lib}.a
                      COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
    file(WRITE ${dir}/done "")
  endif()
  target_link_directories(${target} BEFORE PRIVATE ${dir})
endfunction()

#include "piso_simdjson.h"

namespace tessora::bench {

namespace od = simdjson::ondemand;

bool TocarObjeto(od::object objeto, size_t& contador) {
    for (auto resultado : objeto) {
        od::field campo;
        if (std::move(resultado).get(campo) != simdjson::SUCCESS) return false;
        std::string_view nome;
        if (campo.unescaped_key().get(nome) != simdjson::SUCCESS) return false;
        contador += nome.size();
        if (!Tocar(campo.value(), contador)) return false;
    }
    return true;
}

bool Tocar(od::value valor, size_t& contador) {
    od::json_type tipo;
    if (valor.type().get(tipo) != simdjson::SUCCESS) return false;
    switch (tipo) {
        case od::json_type::object: {
            od::object objeto;
            return valor.get_object().get(objeto) == simdjson::SUCCESS &&
                   TocarObjeto(objeto, contador);
        }
        case od::json_type::array: {
            od::array lista;
            if (valor.get_array().get(lista) != simdjson::SUCCESS) return false;
            for (auto item : lista) {
                od::value v;
                if (std::move(item).get(v) != simdjson::SUCCESS || !Tocar(v, contador))
                    return false;
            }
            return true;
        }
        case od::json_type::string: {
            std::string_view texto;
            if (valor.get_string().get(texto) != simdjson::SUCCESS) return false;
            contador += texto.size();
            return true;
        }
        case od::json_type::number: {
            double numero;
            if (valor.get_double().get(numero) != simdjson::SUCCESS) return false;
            contador += numero > 0;
            return true;
        }
        case od::json_type::boolean: {
            bool booleano;
            return valor.get_bool().get(booleano) == simdjson::SUCCESS;
        }
        case od::json_type::null:
            return valor.is_null();
    }
    return false;
}

}  // namespace tessora::bench
